#pragma once
#include "FileWalk.h"
#include "PageLook.h"

// The registry key that names the cache and cookie folders of the current user.
extern const char* const kShellFoldersKey;

// Reads a string value into text. When the key cannot be opened the text stays as it was; when
// the value cannot be read (missing, longer than 259 characters) it becomes empty.
void QueryRegString(HKEY root, const char* subKey, const char* valueName, std::string& text);

// Calls one export of the maker's outside library (from the program's folder or the system
// folder) after an erase; silent when the library or the export is not there.
void RunLibraryStep(const char* exportName);
// Tells the user that an erase left a folder alone because it is protected (the guard of the
// walks); says nothing for any other folder.
void ReportRefusedFolder(const std::string& folder);

// The files of the browser's cache folder, listed on a worker as the page opens, erased on
// another behind the progress dialog.
class CTempNetFileVw : public CPageView {
public:
    CTempNetFileVw();
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;

    // Erases the cache and returns when the progress dialog has closed. Also works on a view
    // that has no window (the Internet summary page keeps one).
    void StartCacheErase();
    // The same erase without window, dialog, pauses or library step.
    static EraseResult EraseWithoutWindow();
    void OnErase();
    // Whether the listing walk still runs.
    bool Listing() const { return m_listing.Running(); }

    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    LRESULT OnWalkNames(WPARAM, LPARAM lParam);
    LRESULT OnWalkEnded(WPARAM, LPARAM);
    filewalk::WalkJob Job();
    filewalk::WalkThread m_listing;
};
