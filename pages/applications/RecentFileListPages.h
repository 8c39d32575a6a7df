#pragma once
#include <string>
#include <vector>

#include "PageLook.h"
#include "Traces.h"

// What one page of the recent-file-list family reads and how its face is made.
struct RecentFileListRow {
    UINT dialog;
    const wchar_t* caption;
    int titleId, textId, listId, selectAllId, clearAllId, eraseId;
    const char* category;  // the engine's category: the list it reads and erases
};

namespace recentfiles {
// The rows of the eight working pages.
extern const RecentFileListRow kAccess, kMediaPlayer, kExcel, kConsole, kPowerPoint, kPaint, kWinzip, kWordPad;

}  // namespace recentfiles

// A page that lists an application's recently opened files, one check box each, and erases the
// checked ones value by value; the application's key itself is never deleted.
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
    virtual void OnErase();
    const RecentFileListRow& m_row;
    std::vector<engine::RegistryEntry> m_entries;  // one per row of the list, in its order
};

// One class per application; each knows its row.
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
