#pragma once
#include "PageLook.h"

// What one page of the recent-file-list family reads and how its face is made.
struct RecentFileListRow {
    UINT dialog;
    const char* caption;
    int titleId, textId, listId, selectAllId, clearAllId, eraseId;
    const char* key;      // below HKEY_CURRENT_USER; null: the page lists nothing
    const char* pattern;  // value names, from a number
    int first, last;      // the numbers tried
    bool stopAtFirstMissing;
};

// A page that lists an application's recently opened files, one check box each.
class CRecentFileListView : public CPageView {
public:
    explicit CRecentFileListView(const RecentFileListRow& row);
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    const RecentFileListRow& Row() const { return m_row; }

    CListCtrl m_list;

protected:
    virtual void OnSelectAll();
    virtual void OnClearAll();
    const RecentFileListRow& m_row;
};

class CMAVw : public CRecentFileListView { public: CMAVw(); };
class CMediaPlayerVw : public CRecentFileListView { public: CMediaPlayerVw(); };
class CMEVw : public CRecentFileListView { public: CMEVw(); };
class CMMConsoleVw : public CRecentFileListView { public: CMMConsoleVw(); };
class CMPptVw : public CRecentFileListView { public: CMPptVw(); };
class CPaintVw : public CRecentFileListView { public: CPaintVw(); };
class CWinzipVw : public CRecentFileListView { public: CWinzipVw(); };
class CWordPadVw : public CRecentFileListView { public: CWordPadVw(); };

// The word processor's page shows its texts and an empty list: it binds and handles nothing.
class CMWVw : public CPageView { public: CMWVw(); };
