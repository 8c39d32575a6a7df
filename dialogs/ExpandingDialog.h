#pragma once
#include "afxwin.h"

// A dialog that shows itself either reduced to the rectangle of one group box (the default
// box) or in full; its expand button switches between the two.
class CExpandingDialog : public CDialog {
public:
    CExpandingDialog(UINT nIDTemplate, CWnd* pParent, int defaultBoxId, int expandButtonId,
                     const wchar_t* reducedText, const wchar_t* expandedText, BOOL changeText);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL IsExpanded() const { return m_bExpanded; }
    // Shows the dialog in full (TRUE) or reduced to the default box (FALSE).
    void Expand(BOOL expand);

protected:
    // Asked before the expand button changes the state; FALSE keeps the state.
    virtual BOOL OnDialogExpanding(BOOL bExpanded) { (void)bExpanded; return TRUE; }
    // Told after the expand button changed the state.
    virtual void OnDialogExpanded(BOOL bExpanded) { (void)bExpanded; }

private:
    void Reduce();
    void Enlarge();
    void EnableOutsideControls(BOOL enable);
    CRect DefaultBoxRect() const;

    std::wstring m_reducedText;
    std::wstring m_expandedText;
    int m_defaultBoxId;
    int m_expandButtonId;
    BOOL m_bChangeText;
    BOOL m_bExpanded = TRUE;
    CSize m_fullSize;  // taken when the dialog is first reduced
};
