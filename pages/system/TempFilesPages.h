#pragma once
#include "OwnerDataRows.h"
#include "PageLook.h"
#include "PageWalk.h"

// A page over one temporary folder. It lists the folder's files and sub-folders on a worker as it
// opens; "Erase" empties the list at once and erases on a worker, which lists what is left (the
// sub-folders, and the files that stayed). One walk at a time: Erase stops the listing and drops
// its rows first, Erase during the erase is ignored, and the page stops its walk before its list
// goes.
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
    CTempFilesPage(UINT dialogId, int listId, look::PageLook pageLook, const wchar_t* caption, const char* category,
                   std::wstring (*folder)());

private:
    CPageWalk::Rows Rows();
    int m_listId;
    const char* m_category;
    std::wstring (*m_folder)();
    CPageWalk m_walk;
    bool m_erasing = false;
    OwnerDataRows m_rows{false};  // in the walk's order
};

// The files and folders below the user's temporary folder.
class CAdminTempFVw : public CTempFilesPage {
public:
    CAdminTempFVw();

    DECLARE_MESSAGE_MAP()
};

// The files and folders below the Windows temporary folder. Without administrator rights most of
// them stay: the erase lists them again.
class CSysTempFile : public CTempFilesPage {
public:
    CSysTempFile();

    DECLARE_MESSAGE_MAP()
};
