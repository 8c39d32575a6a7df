#pragma once
#include <functional>
#include <string>

#include "afxwin.h"

// Asks for one line of text. OK takes it only when the check finds nothing wrong with it;
// otherwise the reason is shown and the dialog stays, with the text as typed.
class CAskTextDlg : public CDialog {
public:
    using Check = std::function<std::wstring(const std::wstring&)>;
    CAskTextDlg(std::wstring caption, std::wstring prompt, Check check, CWnd* pParent = nullptr);
    BOOL OnInitDialog() override;
    void OnOK() override;

    std::wstring m_text;  // what was typed, once OK took it

private:
    std::wstring m_caption, m_prompt;
    Check m_check;
};
