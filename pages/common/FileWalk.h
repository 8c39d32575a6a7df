// The folder walks of the erasing pages: the one safe way to touch a file (wide names inside, a
// handle opened without following links, its final path checked), the guard on the folder a
// walk is given, the walk itself, and the worker that runs a walk for a page.
#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "EraseResult.h"
#include "WalkRules.h"
#include "afxwin.h"

class CEraseProgressDlg;

namespace filewalk {

// ---- the guard on this machine ----

// This machine's Windows, system and Program Files folders and the user's profile folder.
std::vector<std::wstring> GuardedFolders();
// IsRefusedTopFolder over GuardedFolders(), after resolving the folder with GetFullPathName.
// Every walk, listing and safe delete below applies it by itself.
bool IsRefusedTopFolder(const std::wstring& folder);

// ---- file system steps ----

// Deletes one file through the safe steps: its folder passes the guard, its name is a plain
// name, a link is never followed (it is left alone), and the file opened is the one named. A
// read-only file is cleared first. False when the file stayed (or was not there).
bool DeleteInside(const std::wstring& path);
bool Exists(const std::wstring& path);
// Deletes the files directly inside a folder through the same steps; its sub-folders and what
// they hold are kept. A refused folder is left alone and reported as not erased.
EraseResult EraseFilesIn(const std::wstring& folder);

// One entry of a folder as a page shows it: the ANSI display name and what it is. Entries
// whose display name is not a plain name come with kind Skip.
struct FolderEntry {
    std::wstring name;
    unsigned long attributes;
    Entry kind;
    bool holdsContent;  // a folder holding a sub-folder or a file that is not hidden
};
// The entries directly inside a folder; false (nothing) for a refused or unsearchable folder.
bool ListEntries(const std::wstring& folder, std::vector<FolderEntry>& entries);

// What a page does with a walk; called on the walk's thread.
class WalkSink {
public:
    virtual ~WalkSink() = default;
    // A pause of the walk, also taken with 0 ms between any two files. A sink whose walk must
    // stop leaves here by throwing (AfxEndThread, or an exception its own caller catches).
    virtual void Pause(unsigned ms) = 0;
    // A file met in a folder's second pass (all files when listing, survivors when erasing):
    // its ANSI display name.
    virtual void Met(const std::wstring& name) { (void)name; }
    // A sub-folder met in a folder's second pass, before it is walked: its ANSI display name.
    virtual void MetFolder(const std::wstring& name) { (void)name; }
    // The file about to be deleted (ANSI display path), before the pause that precedes it.
    virtual void Erasing(const std::wstring& path) { (void)path; }
};

// Walks a folder and its sub-folders depth first. In each folder it first handles every file
// (attributes cleared; when erasing, shown, paused for and deleted), then goes through the
// folder again: sub-folders are walked, and each file still there is met and, when erasing,
// tried once more. A refused top folder is walked not at all; links and names that are not
// plain are never entered or touched.
class FolderWalk {
public:
    FolderWalk(bool erase, WalkSink& sink);
    ~FolderWalk();
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;
    // The folder ends with '\'. A folder that is not walkable or cannot be searched is left alone.
    void Walk(const std::wstring& folder);
    // What the erase did so far (also after a stop).
    const EraseResult& Result() const { return m_result; }

private:
    struct Top;
    void WalkSub(const std::wstring& rel);
    void HandleFilesOf(const std::wstring& rel);
    void Handle(const std::wstring& rel, unsigned long attributes, unsigned long long size, bool last);
    bool m_erase;
    WalkSink& m_sink;
    std::unique_ptr<Top> m_top;
    EraseResult m_result;
};

// ---- the worker of a page ----

// How long a page waits for its listing to stop: a walk looks at the request between any two
// files, so only a file in hand can keep it longer.
constexpr unsigned kStopWaitMs = 100;

// A thread running one walk. Stop() asks it to end and waits until it has; Stop(ms) waits at
// most ms and then lets it go, which is safe only for a worker that holds Shared() (the
// listing's worker does): it ends its file in hand and touches nothing of the page. Wait() is
// the walk's pause, cut short by Stop().
class WalkThread {
public:
    WalkThread();
    ~WalkThread();
    WalkThread(const WalkThread&) = delete;
    WalkThread& operator=(const WalkThread&) = delete;

    bool Start(AFX_THREADPROC proc, void* param);
    void Stop();
    void Stop(unsigned maxWaitMs);
    bool Running() const;
    // Waits ms, or less when stopped; true when the walk must stop.
    bool Wait(unsigned ms) const;

    // The stop request, shared with the worker so that it outlives this object.
    struct Request {
        Request();
        ~Request();
        HANDLE event;
        std::atomic<bool> stop{false};
        bool Wait(unsigned ms) const;
    };
    std::shared_ptr<Request> Shared() const { return m_request; }

private:
    std::shared_ptr<Request> m_request;
    std::unique_ptr<CWinThread> m_thread;
};

// The messages a walk's worker posts to its page's view.
constexpr UINT WM_WALK_NAMES = WM_APP + 0x120;  // lParam: a NameBatch* the view deletes
constexpr UINT WM_WALK_ENDED = WM_APP + 0x121;  // the erase walk has ended: empty the list

using NameBatch = std::vector<std::wstring>;
// Deletes the batches still queued for a view that is going.
void DropQueuedBatches(HWND view);

// One walk for a page.
struct WalkJob {
    std::wstring (*folder)();                     // the folder to walk, ending with '\'
    HWND view;                                   // gets the walk's messages; null: window-less
    bool (*listed)(const std::wstring& name);     // names the view lists; null: none
    bool folderRows = false;                     // the view lists sub-folders too
    bool paced = true;                           // the walk takes the pauses of the pacing
};

// Starts the listing walk on the thread.
bool StartListing(WalkThread& thread, const WalkJob& job);
// Starts an erase walk on the thread, with no dialog: the view gets the names of what is met
// (what stayed), as a listing does.
bool StartErasing(WalkThread& thread, const WalkJob& job);
// Erases the job's folder on a worker while the dialog runs modally. Returns once the dialog
// has closed and the worker has ended: the worker never outlives the dialog. When the walk
// ends (however it ended) the dialog is ended and the view gets WM_WALK_ENDED. While the dialog
// runs, a second erase with it is ignored (it returns an empty result at once).
EraseResult EraseBehindDialog(const WalkJob& job, CEraseProgressDlg& dialog);
// Tells the user that an erase left a folder alone because it is protected (the guard of the
// walks); says nothing for any other folder.
void ReportRefusedFolder(const std::wstring& folder);
// The same erase on the calling thread, without dialog, pauses or messages.
EraseResult EraseWithoutWindow(const WalkJob& job);

}  // namespace filewalk
