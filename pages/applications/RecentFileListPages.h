#pragma once
#include <string>
#include <vector>

#include "PageLook.h"
#include "TraceCategories.h"

// What one page of the recent-file-list family reads and how its face is made.
struct RecentFileListRow {
    UINT dialog;
    const wchar_t* caption;
    int titleId, textId, listId, selectAllId, clearAllId, eraseId;
    const char* category;  // the engine's category: the list it reads and erases
};

namespace recentfiles {
// The rows of the applications' pages.
extern const RecentFileListRow kAccess, kMediaPlayer, kExcel, kConsole, kPowerPoint, kPaint, kWinzip, kWordPad, kWord,
    kAcrobat;

}  // namespace recentfiles

// A page that lists what a category described by a definition finds (an application's recently
// opened files, ...), one check box each, and erases the checked ones entry by entry; the
// application's key itself is never deleted.
class CRecentFileListView : public CPageView {
public:
    explicit CRecentFileListView(const RecentFileListRow& row);
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    const RecentFileListRow& Row() const { return m_row; }
    // The engine's category this page shows.
    virtual std::string Category() const { return m_row.category; }

    CListCtrl m_list;

protected:
    virtual void OnSelectAll();
    virtual void OnClearAll();
    virtual void OnErase();
    const RecentFileListRow& m_row;
    std::vector<engine::TraceEntry> m_entries;  // one per row of the list, in its order
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
class CMWVw : public CRecentFileListView { public: CMWVw(); };
class CAAVw : public CRecentFileListView { public: CAAVw(); };
