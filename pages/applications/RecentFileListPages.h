#pragma once
#include <string>
#include <vector>

#include "EraseResult.h"
#include "PageLook.h"

// What one page of the recent-file-list family reads and how its face is made.
struct RecentFileListRow {
    UINT dialog;
    const wchar_t* caption;
    int titleId, textId, listId, selectAllId, clearAllId, eraseId;
    const wchar_t* key;      // below HKEY_CURRENT_USER
    const wchar_t* pattern;  // value names, from a number
    int first, last;      // the numbers tried
    bool stopAtFirstMissing;
};

namespace recentfiles {
// The rows of the eight working pages.
extern const RecentFileListRow kAccess, kMediaPlayer, kExcel, kConsole, kPowerPoint, kPaint, kWinzip, kWordPad;

std::wstring ValueName(const RecentFileListRow& row, int n);
// The data of the row's values in reading order, as the page lists them (duplicates kept).
std::vector<std::wstring> ReadList(const RecentFileListRow& row);
// Deletes every value of the row's range that holds this text, counting the entry in result:
// erased when no value of the range holds it afterwards (also when none held it to begin with),
// failed when one stayed. Returns whether the entry is gone.
bool EraseEntry(const RecentFileListRow& row, const std::wstring& text, EraseResult& result);
}  // namespace recentfiles

// A page that lists an application's recently opened files, one check box each, and erases the
// checked ones value by value; the application's key itself is never deleted.
class CRecentFileListView : public CPageView {
public:
    explicit CRecentFileListView(const RecentFileListRow& row);
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    const RecentFileListRow& Row() const { return m_row; }

    // Erases every entry the row's page would list, as if all were checked; no window, no message.
    static EraseResult EraseWithoutWindow(const RecentFileListRow& row);

    CListCtrl m_list;

protected:
    virtual void OnSelectAll();
    virtual void OnClearAll();
    virtual void OnErase();
    const RecentFileListRow& m_row;
};

// One class per application; each knows its row.
class CMAVw : public CRecentFileListView { public: CMAVw(); static EraseResult EraseWithoutWindow(); };
class CMediaPlayerVw : public CRecentFileListView { public: CMediaPlayerVw(); static EraseResult EraseWithoutWindow(); };
class CMEVw : public CRecentFileListView { public: CMEVw(); static EraseResult EraseWithoutWindow(); };
class CMMConsoleVw : public CRecentFileListView { public: CMMConsoleVw(); static EraseResult EraseWithoutWindow(); };
class CMPptVw : public CRecentFileListView { public: CMPptVw(); static EraseResult EraseWithoutWindow(); };
class CPaintVw : public CRecentFileListView { public: CPaintVw(); static EraseResult EraseWithoutWindow(); };
class CWinzipVw : public CRecentFileListView { public: CWinzipVw(); static EraseResult EraseWithoutWindow(); };
class CWordPadVw : public CRecentFileListView { public: CWordPadVw(); static EraseResult EraseWithoutWindow(); };

// The word processor's page shows its texts and an empty list: it binds and handles nothing.
class CMWVw : public CPageView { public: CMWVw(); };
