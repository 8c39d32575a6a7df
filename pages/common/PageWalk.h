// What a page does with the engine's walk: its listing on a worker, handing the names it meets to
// the page in batches through the page's inbox; the erase of its category (with the one-at-a-time
// lock, the erase settings and the pacing) behind the progress dialog or without one; and the stop
// before the page's controls go. The engine walks and erases; this only shows.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Result.h"
#include "Inbox.h"
#include "Worker.h"
#include "afxwin.h"

class CEraseProgressDlg;

class CPageWalk {
public:
    using Names = std::vector<std::wstring>;
    using Filter = bool (*)(const std::wstring& name);
    struct Rows {
        Filter listed = nullptr;   // the file names the page lists; null: none
        bool folders = false;      // the page lists sub-folders too
        std::function<void(Names&)> show;  // on the page's thread
        int hiddenText = 0;        // the static that counts the files the filter keeps out of view; 0: none
    };
    // What that static says of n files kept out of view ("" for none).
    static std::wstring HiddenText(size_t n);

    // view: the page's window; CPageView delivers the walk's inbox there.
    void Attach(HWND view);
    // Stops a walk (waiting at most 100 ms: a walk looks at the request between any two files)
    // and drops what it handed over but the page has not shown. Before the page's controls go.
    void Stop();
    bool Running() const { return m_worker.Running(); }

    // Lists the folder on a worker; a paced listing takes the pause per folder.
    void List(const std::wstring& folder, const Rows& rows, bool paced);
    // Erases the category on a worker with no dialog: what the erase meets and leaves (sub-folders,
    // files that stayed) comes to the rows as a listing's names do, and so does the count of those
    // kept out of view; done gets the result.
    void Erase(const char* category, const Rows& rows, std::function<void(const engine::Result&)> done);
    // Erases the category on a worker while the dialog runs modally; returns once the dialog has
    // closed and the worker has ended. ended runs on the page's thread when the walk ended (not
    // cancelled), after the count of files kept out of view is cleared. While the dialog runs, a second erase with it returns at once (ran is false).
    engine::Result EraseBehindDialog(const char* category, CEraseProgressDlg& dialog, std::function<void()> ended,
                                     bool* ran = nullptr);

private:
    void Restart();
    void ShowHidden(size_t n) const;
    HWND m_view = nullptr;
    int m_hiddenText = 0;
    std::shared_ptr<ui::Inbox> m_inbox;
    engine::Worker m_worker;
};
