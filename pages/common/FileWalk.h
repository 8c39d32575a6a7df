// The folder walks of the erasing pages: the name and path rules they share, the walk itself
// (which never leaves its folder through a junction or directory link), and the worker that
// runs a walk for a page and is stopped or awaited before the page's controls go.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "afxwin.h"

class CEraseProgressDlg;

namespace filewalk {

// ---- rules: no window, no file system ----

// The text after the last '\' (the whole path when there is none).
std::string NameOf(const std::string& path);
// The path up to, not including, its last '\'; false when it holds none.
bool FolderOf(const std::string& path, std::string& folder);
// The folder with one trailing '\'.
std::string WithSlash(const std::string& folder);
// The leftover file some browsers keep in a cache folder: "<folder>\xxxxxxxx.xxx".
std::string LeftoverIn(const std::string& folder);
// A folder path a walk accepts: absolute ("C:\..." or "\\server\..."). A relative path would
// be taken from whatever the current folder happens to be.
bool IsWalkable(const std::string& folder);
// The cache list leaves out names whose last three characters are "ini" or "dat" (case counts).
bool IsListedCacheName(const std::string& name);
// The cookie list leaves out names whose last three characters are "dat" (the index file).
bool IsListedCookieName(const std::string& name);

// What a found entry is to a walk. Anything that is a reparse point (junction, directory or
// file link) is skipped: going through it would reach what lies outside the folder.
enum class Entry { Skip, Folder, File };
Entry Classify(DWORD attributes, const char* name);
// Whether an entry makes its folder "not empty" in the cookie tree: a sub-folder, or a file
// that is not hidden.
bool CountsAsContent(DWORD attributes, const char* name);

// ---- file system steps ----

// Deletes a file unless it is missing, a folder or a link; clears its attributes first.
bool DeleteInside(const std::string& path);
bool Exists(const std::string& path);

// What a page does with a walk; called on the walk's thread.
class WalkSink {
public:
    virtual ~WalkSink() = default;
    // A pause of the walk. A sink whose walk must stop ends the thread here (AfxEndThread).
    virtual void Pause(unsigned ms) = 0;
    // A file met in a folder's second pass (all files when listing, survivors when erasing).
    virtual void Met(const std::string& name) { (void)name; }
    // The file about to be deleted, before the pause that precedes its deletion.
    virtual void Erasing(const std::string& path) { (void)path; }
};

// Walks a folder and its sub-folders depth first. In each folder it first handles every file
// (attributes cleared; when erasing, shown, paused for and deleted), then goes through the
// folder again: sub-folders are walked, and each file still there is met and handled once more.
class FolderWalk {
public:
    FolderWalk(bool erase, WalkSink& sink) : m_erase(erase), m_sink(sink) {}
    // The folder ends with '\'. A folder that is not walkable or cannot be searched is left alone.
    void Walk(const std::string& folder);

private:
    void HandleFilesOf(const std::string& folder);
    void Handle(const std::string& folder, const std::string& path);
    bool m_erase;
    WalkSink& m_sink;
};

// ---- the worker of a page ----

// A thread running one walk. Stop() asks it to end and waits for it; Wait() is the walk's
// pause, cut short by Stop().
class WalkThread {
public:
    WalkThread();
    ~WalkThread();
    WalkThread(const WalkThread&) = delete;
    WalkThread& operator=(const WalkThread&) = delete;

    bool Start(AFX_THREADPROC proc, void* param);
    void Stop();
    bool Running() const;
    // Waits ms, or less when stopped; true when the walk must stop.
    bool Wait(unsigned ms) const;

private:
    HANDLE m_stop;
    std::unique_ptr<CWinThread> m_thread;
};

// The messages a walk's worker posts to its page's view.
constexpr UINT WM_WALK_NAMES = WM_APP + 0x120;  // lParam: a NameBatch* the view deletes
constexpr UINT WM_WALK_ENDED = WM_APP + 0x121;  // the erase walk has ended: empty the list

using NameBatch = std::vector<std::string>;
// Deletes the batches still queued for a view that is going.
void DropQueuedBatches(HWND view);

// One walk for a page.
struct WalkJob {
    std::string (*folder)();                     // the folder to walk, ending with '\'
    HWND view;                                   // gets the walk's messages; null: window-less
    bool (*listed)(const std::string& name);     // names the view lists; null: none
};

// Starts the listing walk on the thread.
bool StartListing(WalkThread& thread, const WalkJob& job);
// Erases the job's folder on a worker while the dialog runs modally. Returns once the dialog
// has closed and the worker has ended: the worker never outlives the dialog. When the walk
// ends (however it ended) the dialog is ended and the view gets WM_WALK_ENDED.
void EraseBehindDialog(const WalkJob& job, CEraseProgressDlg& dialog);

}  // namespace filewalk
