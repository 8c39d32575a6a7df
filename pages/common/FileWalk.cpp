#include "FileWalk.h"

#include "EraseProgressDlg.h"
#include "Pacing.h"
#include "SafeFiles.h"

namespace filewalk {

using namespace safe;

struct FolderWalk::Top : safe::Top {
    explicit Top(const safe::Top& t) : safe::Top(t) {}
};

FolderWalk::FolderWalk(bool erase, WalkSink& sink) : m_erase(erase), m_sink(sink) {}
FolderWalk::~FolderWalk() = default;

void FolderWalk::Walk(const std::wstring& folder) {
    m_top = std::make_unique<Top>(OpenTop(folder));
    if (m_erase && m_top->state == TopState::Refused)
        m_result.Failed(folder + L" is a protected folder (a drive, Windows, Program Files or the profile); nothing in it was erased.");
    if (m_top->state != TopState::Ok) {
        m_sink.Pause(Pacing::FolderMs());
        return;
    }
    WalkSub(L"");
}

// rel: the folder relative to the top, "" or ending with '\'.
void FolderWalk::WalkSub(const std::wstring& rel) {
    m_sink.Pause(Pacing::FolderMs());
    if (!rel.empty()) {
        // The folder checked now may have been swapped for a link since it was found.
        HANDLE h = OpenInside(*m_top, rel, FILE_READ_ATTRIBUTES, true);
        if (h == INVALID_HANDLE_VALUE) return;
        ::CloseHandle(h);
    }
    HandleFilesOf(rel);
    Search s(m_top->final + rel);
    if (!s.Ok()) return;
    do {
        m_sink.Pause(0);
        if (s.IsDots()) continue;
        const WIN32_FIND_DATAW& d = s.Data();
        std::wstring name = d.cFileName;
        Entry kind = IsPlainReal(d.cFileName) ? Classify(d.dwFileAttributes, d.cFileName) : Entry::Skip;
        if (kind == Entry::Folder) {
            m_sink.MetFolder(name);
            WalkSub(rel + d.cFileName + L"\\");
        } else if (kind == Entry::File) {
            m_sink.Met(name);
            if (m_erase) Handle(rel + d.cFileName, d.dwFileAttributes, (static_cast<unsigned long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow, true);
        } else if (m_erase) {
            m_result.Failed(m_top->display + rel + name + L": a link or a name that leads elsewhere; it was left alone.");
        }
    } while (s.Next());
}

void FolderWalk::HandleFilesOf(const std::wstring& rel) {
    if (m_erase) {  // the leftover file some browsers keep, once per folder
        HANDLE h = OpenInside(*m_top, rel + L"xxxxxxxx.xxx", kEraseAccess, false);
        if (h != INVALID_HANDLE_VALUE && DeleteThrough(h, 0)) ++m_result.erased;
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
    Search s(m_top->final + rel);
    if (!s.Ok()) return;
    do {
        m_sink.Pause(0);
        const WIN32_FIND_DATAW& d = s.Data();
        if (s.IsDots() || (d.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
            !IsPlainReal(d.cFileName))
            continue;
        Handle(rel + d.cFileName, d.dwFileAttributes, (static_cast<unsigned long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow, false);
    } while (s.Next());
}

// last: the file's second and last attempt, after which a file that stayed is counted.
void FolderWalk::Handle(const std::wstring& rel, unsigned long attributes, unsigned long long size, bool last) {
    if (!m_erase) {
        HANDLE h = OpenInside(*m_top, rel, kResetAccess, false);
        if (h == INVALID_HANDLE_VALUE) return;
        ResetAttributes(h);
        ::CloseHandle(h);
        return;
    }
    std::wstring shown = m_top->display + rel;
    m_sink.Erasing(shown);
    m_sink.Pause(Pacing::FileMs());
    HANDLE h = OpenInside(*m_top, rel, kEraseAccess, false);
    bool gone = h != INVALID_HANDLE_VALUE && DeleteThrough(h, attributes);
    DWORD error = ::GetLastError();
    if (h != INVALID_HANDLE_VALUE) {
        if (!gone) ResetAttributes(h);
        ::CloseHandle(h);
    }
    if (gone) {
        ++m_result.erased;
        m_result.bytes += size;
    } else if (last && error != ERROR_FILE_NOT_FOUND) {
        m_result.Failed(Reason(shown, error));
    }
}

// ---- the worker ----

WalkThread::Request::Request() : event(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
WalkThread::Request::~Request() { ::CloseHandle(event); }

bool WalkThread::Request::Wait(unsigned ms) const {
    if (stop.load()) return true;
    return ms && ::WaitForSingleObject(event, ms) == WAIT_OBJECT_0;
}

WalkThread::WalkThread() : m_request(std::make_shared<Request>()) {}

WalkThread::~WalkThread() { Stop(); }

bool WalkThread::Start(AFX_THREADPROC proc, void* param) {
    Stop();
    CWinThread* t = AfxBeginThread(proc, param, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!t) return false;
    t->m_bAutoDelete = FALSE;  // kept, so that Stop can wait for it
    m_thread.reset(t);
    t->ResumeThread();
    return true;
}

namespace {
// Waits for a worker that outlived Stop's wait, then frees its thread object.
DWORD WINAPI ReapThread(LPVOID p) {
    std::unique_ptr<CWinThread> t(static_cast<CWinThread*>(p));
    ::WaitForSingleObject(t->m_hThread, INFINITE);
    return 0;
}
}  // namespace

void WalkThread::Stop() { Stop(INFINITE); }

void WalkThread::Stop(unsigned maxWaitMs) {
    if (!m_thread) return;
    m_request->stop = true;
    ::SetEvent(m_request->event);
    if (::WaitForSingleObject(m_thread->m_hThread, maxWaitMs) == WAIT_OBJECT_0) {
        m_request->stop = false;  // ready for the next walk
        ::ResetEvent(m_request->event);
    } else {
        // Let go: it keeps its own request (still set) and its thread object goes when it ends.
        CWinThread* t = m_thread.get();
        HANDLE reaper = ::CreateThread(nullptr, 0, ReapThread, t, 0, nullptr);
        if (!reaper) {
            ::WaitForSingleObject(t->m_hThread, INFINITE);
        } else {
            m_thread.release();
            ::CloseHandle(reaper);
        }
        m_request = std::make_shared<Request>();
    }
    m_thread.reset();
}

bool WalkThread::Running() const {
    return m_thread && ::WaitForSingleObject(m_thread->m_hThread, 0) == WAIT_TIMEOUT;
}

bool WalkThread::Wait(unsigned ms) const { return m_request->Wait(ms); }

void DropQueuedBatches(HWND view) {
    MSG m;
    while (::PeekMessageW(&m, view, WM_WALK_NAMES, WM_WALK_NAMES, PM_REMOVE))
        delete reinterpret_cast<NameBatch*>(m.lParam);
}

namespace {
// What a worker needs, shared with whoever started it (who reads the result once it ended).
struct Task {
    WalkJob job;
    std::shared_ptr<WalkThread::Request> request;
    bool erase;
    CEraseProgressDlg* dialog;  // null for a listing, or an erase without dialog
    EraseResult result;
};

struct Stopped {};

// Hands the names met to the view in batches (one message per batch, not per row), shows the
// file being erased (at most one path per 50 ms when nothing waits between files), and leaves
// the walk at a pause once the page stopped it or Cancel was pressed.
class PageSink : public WalkSink {
public:
    explicit PageSink(const Task& t) : m_task(t) {}
    void Pause(unsigned ms) override {
        if (Stopping()) throw Stopped{};  // a stopped walk hands over nothing more
        if (ms) Flush();
        if (m_task.request->Wait(m_task.job.paced ? ms : 0) || Stopping()) throw Stopped{};
    }
    bool Stopping() const {
        return m_task.request->Wait(0) || (m_task.dialog && m_task.dialog->IsCancelled());
    }
    void Met(const std::wstring& name) override {
        if (m_task.job.listed && m_task.job.listed(name)) Add(name);
    }
    void MetFolder(const std::wstring& name) override {
        if (m_task.job.folderRows) Add(name);
    }
    void Erasing(const std::wstring& path) override {
        if (!m_task.dialog) return;
        ULONGLONG now = ::GetTickCount64();
        if (Pacing::FileMs() == 0 && now - m_shownAt < 50) return;
        m_shownAt = now;
        m_task.dialog->ShowPath(path);
    }
    void Add(const std::wstring& name) {
        if (!m_task.job.view) return;
        m_pending.push_back(name);
        if (m_pending.size() >= kBatch) Flush();
    }
    void Flush() {
        if (m_pending.empty()) return;
        auto* batch = new NameBatch(std::move(m_pending));
        m_pending.clear();
        if (!::PostMessageW(m_task.job.view, WM_WALK_NAMES, 0, reinterpret_cast<LPARAM>(batch))) delete batch;
    }

private:
    static constexpr size_t kBatch = 256;
    const Task& m_task;
    NameBatch m_pending;
    ULONGLONG m_shownAt = 0;
};

UINT RunWalk(LPVOID param) {
    std::shared_ptr<Task> task(*static_cast<std::shared_ptr<Task>*>(param));
    delete static_cast<std::shared_ptr<Task>*>(param);
    PageSink sink(*task);
    bool erase = task->erase;
    FolderWalk walk(erase, sink);
    bool stopped = false;
    try {
        if (erase) sink.Pause(Pacing::BeforeEraseMs());
        walk.Walk(task->job.folder());
        sink.Flush();
        sink.Pause(0);  // a walk the page stopped, or an erase cancelled, ends here without the end step
    } catch (const Stopped&) {
        stopped = true;
    }
    task->result = walk.Result();
    if (!task->dialog) return 0;
    if (stopped) {
        task->result.Failed(L"The erase was cancelled.");
        return 0;
    }
    if (task->job.view) ::PostMessageW(task->job.view, WM_WALK_ENDED, 0, 0);
    task->dialog->RequestEnd(0);
    return 0;
}

std::shared_ptr<Task> Launch(WalkThread& thread, const WalkJob& job, bool erase, CEraseProgressDlg* dialog) {
    auto task = std::make_shared<Task>();
    task->job = job;
    task->erase = erase;
    task->dialog = dialog;
    thread.Stop(kStopWaitMs);
    task->request = thread.Shared();
    auto* handed = new std::shared_ptr<Task>(task);
    if (!thread.Start(RunWalk, handed)) {
        delete handed;
        return nullptr;
    }
    return task;
}

// Doing nothing at pauses: the window-less erase waits for no one.
class QuietSink : public WalkSink {
public:
    void Pause(unsigned) override {}
};
}  // namespace

bool StartListing(WalkThread& thread, const WalkJob& job) { return Launch(thread, job, false, nullptr) != nullptr; }

bool StartErasing(WalkThread& thread, const WalkJob& job) { return Launch(thread, job, true, nullptr) != nullptr; }

EraseResult EraseBehindDialog(const WalkJob& job, CEraseProgressDlg& dialog) {
    if (dialog.GetSafeHwnd()) return {};  // this page's erase already runs
    dialog.Reset();
    WalkThread worker;
    std::shared_ptr<Task> task = Launch(worker, job, true, &dialog);
    if (!task) return {};
    dialog.DoModal();
    worker.Stop(INFINITE);  // after Cancel the walk ends at its next file; its result is read below
    return task->result;
}

EraseResult EraseWithoutWindow(const WalkJob& job) {
    QuietSink sink;
    FolderWalk walk(true, sink);
    walk.Walk(job.folder());
    return walk.Result();
}

void ReportRefusedFolder(const std::wstring& folder) {
    if (!IsWalkable(folder) || !IsRefusedTopFolder(folder)) return;
    std::wstring text = folder + L" is a protected folder (a drive, Windows, Program Files or the profile); nothing in it was erased.";
    ::MessageBoxW(nullptr, text.c_str(), L"Corvane-Sweepmere", MB_ICONWARNING | MB_SYSTEMMODAL);
}

}  // namespace filewalk
