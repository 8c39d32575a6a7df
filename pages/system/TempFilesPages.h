#pragma once
#include "EraseResult.h"
#include "FileWalk.h"
#include "OwnerDataRows.h"
#include "PageLook.h"

// The temporary folders the pages walk, ending with '\'; empty when there is none.
std::wstring UserTempFolder();     // the one GetTempPathW names
std::wstring WindowsTempFolder();  // "Temp" in the Windows folder

// A page over one temporary folder. It lists the folder's files and sub-folders on a worker as it
// opens; "Erase" empties the list at once and erases on a worker, whose walk lists what is left
// (the sub-folders, and the files that stayed). One walk at a time: Erase stops the listing and
// drops its rows first, and the page stops its walk before its list goes.
class CTempFilesPage : public CPageView {
public:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;
    void OnErase();
    void OnRowText(NMHDR* nm, LRESULT*);
    bool Walking() const { return m_walk.Running(); }

    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()

protected:
    CTempFilesPage(UINT dialogId, int listId, look::PageLook pageLook, const wchar_t* caption, std::wstring (*folder)());
    // The page's erase, without window, pauses or messages.
    static EraseResult Erase(std::wstring (*folder)());

private:
    static filewalk::WalkJob JobFor(std::wstring (*folder)(), HWND view);
    LRESULT OnWalkNames(WPARAM, LPARAM lParam);
    int m_listId;
    std::wstring (*m_folder)();
    filewalk::WalkThread m_walk;
    OwnerDataRows m_rows{false};  // in the walk's order
};

// The files and folders below the user's temporary folder.
class CAdminTempFVw : public CTempFilesPage {
public:
    CAdminTempFVw();
    static EraseResult EraseWithoutWindow();

    DECLARE_MESSAGE_MAP()
};

// The files and folders below the Windows temporary folder. Without administrator rights most of
// them stay: the erase walk lists them again.
class CSysTempFile : public CTempFilesPage {
public:
    CSysTempFile();
    static EraseResult EraseWithoutWindow();

    DECLARE_MESSAGE_MAP()
};
