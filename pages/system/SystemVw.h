#pragma once
#include "EraseResult.h"
#include "PageLook.h"

// The lists Windows keeps of recently used things in the registry. "Erase" deletes them, shows
// the page again and offers to log off.
class CSystemVw : public CPageView {
public:
    CSystemVw();
    void DoDataExchange(CDataExchange* pDX) override;

    // Deletes the auto-complete keys, the last registry key opened, the Run history and the
    // mapped network drive history (its "MRUList" too); the Run list's "MRUList" stays.
    static EraseResult EraseWithoutWindow();
    // Asks whether to log off now: Windows lets go of some of these traces only at the next log-on.
    static void OfferLogOff();

    static const wchar_t* const kRegeditKey;
    static const wchar_t* const kMapDriveKey;
    static const wchar_t* const kRunKey;
    static const wchar_t* const kAutoCompleteKeys[2];

    CTreeCtrl m_tree;

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnErase();
};
