#include "FileWalk.h"

#include <cctype>

#include "EraseProgressDlg.h"
#include "Pacing.h"

namespace filewalk {

// ---- rules ----

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FolderOf(const std::string& path, std::string& folder) {
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return false;
    folder = path.substr(0, slash);
    return true;
}

std::string WithSlash(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

std::string LeftoverIn(const std::string& folder) { return folder + "\\xxxxxxxx.xxx"; }

bool IsWalkable(const std::string& folder) {
    if (folder.size() < 3) return false;
    bool drive = std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' && folder[2] == '\\';
    bool unc = folder[0] == '\\' && folder[1] == '\\' && folder[2] != '\\';
    return drive || unc;
}

static bool EndsWith(const std::string& s, const char* tail) {
    size_t n = std::char_traits<char>::length(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

bool IsListedCacheName(const std::string& name) { return !EndsWith(name, "ini") && !EndsWith(name, "dat"); }

bool IsListedCookieName(const std::string& name) { return !EndsWith(name, "dat"); }

static bool IsDots(const char* name) { return strcmp(name, ".") == 0 || strcmp(name, "..") == 0; }

Entry Classify(DWORD attributes, const char* name) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return Entry::Skip;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return IsDots(name) ? Entry::Skip : Entry::Folder;
    return Entry::File;
}

bool CountsAsContent(DWORD attributes, const char* name) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return !IsDots(name);
    return !(attributes & FILE_ATTRIBUTE_HIDDEN);
}

// ---- file system steps ----

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool DeleteInside(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || (a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) return false;
    if (a & FILE_ATTRIBUTE_READONLY) ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return ::DeleteFileA(path.c_str()) != FALSE;
}

namespace {
// A search of one folder, closed however the walk leaves it (also when its thread ends).
class Search {
public:
    explicit Search(const std::string& folder) : m_h(::FindFirstFileA((folder + "*.*").c_str(), &m_data)) {}
    ~Search() {
        if (m_h != INVALID_HANDLE_VALUE) ::FindClose(m_h);
    }
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;
    bool Ok() const { return m_h != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAA& Data() const { return m_data; }
    bool Next() { return ::FindNextFileA(m_h, &m_data) != FALSE; }

private:
    WIN32_FIND_DATAA m_data{};
    HANDLE m_h;
};
}  // namespace

// ---- the walk ----

void FolderWalk::Walk(const std::string& folder) {
    m_sink.Pause(Pacing::FolderMs());
    if (!IsWalkable(folder)) return;
    HandleFilesOf(folder);
    Search s(folder);
    if (!s.Ok()) return;
    do {
        const WIN32_FIND_DATAA& d = s.Data();
        switch (Classify(d.dwFileAttributes, d.cFileName)) {
        case Entry::Folder:
            Walk(folder + d.cFileName + "\\");
            break;
        case Entry::File:
            m_sink.Met(d.cFileName);
            Handle(folder, folder + d.cFileName);
            break;
        case Entry::Skip:
            break;
        }
    } while (s.Next());
}

void FolderWalk::HandleFilesOf(const std::string& folder) {
    Search s(folder);
    if (!s.Ok()) return;
    do {
        const WIN32_FIND_DATAA& d = s.Data();
        if (Classify(d.dwFileAttributes, d.cFileName) == Entry::File) Handle(folder, folder + d.cFileName);
    } while (s.Next());
}

void FolderWalk::Handle(const std::string& folder, const std::string& path) {
    if (m_erase) {
        m_sink.Pause(0);  // nothing more is touched once the erase was cancelled
        std::string leftover = LeftoverIn(folder.substr(0, folder.size() - 1));
        if (Exists(leftover)) DeleteInside(leftover);
    }
    if (!Exists(path)) return;
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!m_erase) return;
    m_sink.Erasing(path);
    m_sink.Pause(Pacing::FileMs());
    DeleteInside(path);
}

// ---- the worker ----

WalkThread::WalkThread() : m_stop(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

WalkThread::~WalkThread() {
    Stop();
    ::CloseHandle(m_stop);
}

bool WalkThread::Start(AFX_THREADPROC proc, void* param) {
    Stop();
    ::ResetEvent(m_stop);
    CWinThread* t = AfxBeginThread(proc, param, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!t) return false;
    t->m_bAutoDelete = FALSE;  // kept, so that Stop can wait for it
    m_thread.reset(t);
    t->ResumeThread();
    return true;
}

void WalkThread::Stop() {
    if (!m_thread) return;
    ::SetEvent(m_stop);
    ::WaitForSingleObject(m_thread->m_hThread, INFINITE);
    m_thread.reset();
}

bool WalkThread::Running() const {
    return m_thread && ::WaitForSingleObject(m_thread->m_hThread, 0) == WAIT_TIMEOUT;
}

bool WalkThread::Wait(unsigned ms) const { return ::WaitForSingleObject(m_stop, ms) == WAIT_OBJECT_0; }

void DropQueuedBatches(HWND view) {
    MSG m;
    while (::PeekMessageA(&m, view, WM_WALK_NAMES, WM_WALK_NAMES, PM_REMOVE))
        delete reinterpret_cast<NameBatch*>(m.lParam);
}

namespace {
// What a worker needs; the worker owns it.
struct Task {
    WalkJob job;
    const WalkThread* thread;
    CEraseProgressDlg* dialog;  // null for a listing
};

// Hands the names met to the view in batches (one message per batch, not per row), shows the
// file being erased, and ends the worker at a pause once the page stopped it or Cancel was pressed.
class PageSink : public WalkSink {
public:
    explicit PageSink(const Task& t) : m_task(t) {}
    void Pause(unsigned ms) override {
        Flush();
        if (m_task.thread->Wait(ms) || (m_task.dialog && m_task.dialog->IsCancelled())) AfxEndThread(0);
    }
    void Met(const std::string& name) override {
        if (!m_task.job.view || !m_task.job.listed || !m_task.job.listed(name)) return;
        m_pending.push_back(name);
        if (m_pending.size() >= kBatch) Pause(0);  // hands the batch over; a closing page stops here
    }
    void Erasing(const std::string& path) override {
        Flush();
        m_task.dialog->ShowPath(path);
    }
    void Flush() {
        if (m_pending.empty()) return;
        auto* batch = new NameBatch(std::move(m_pending));
        m_pending.clear();
        if (!::PostMessageA(m_task.job.view, WM_WALK_NAMES, 0, reinterpret_cast<LPARAM>(batch))) delete batch;
    }

private:
    static constexpr size_t kBatch = 256;
    const Task& m_task;
    NameBatch m_pending;
};

UINT RunWalk(LPVOID param) {
    std::unique_ptr<Task> task(static_cast<Task*>(param));
    PageSink sink(*task);
    bool erase = task->dialog != nullptr;
    if (erase) sink.Pause(Pacing::BeforeEraseMs());
    FolderWalk(erase, sink).Walk(task->job.folder());
    sink.Pause(0);  // a walk the page stopped, or an erase cancelled, ends here without the end step
    if (erase) {
        if (task->job.view) ::PostMessageA(task->job.view, WM_WALK_ENDED, 0, 0);
        task->dialog->RequestEnd(0);
    }
    return 0;
}

bool Launch(WalkThread& thread, const WalkJob& job, CEraseProgressDlg* dialog) {
    auto* task = new Task{job, &thread, dialog};
    if (thread.Start(RunWalk, task)) return true;
    delete task;
    return false;
}
}  // namespace

bool StartListing(WalkThread& thread, const WalkJob& job) { return Launch(thread, job, nullptr); }

void EraseBehindDialog(const WalkJob& job, CEraseProgressDlg& dialog) {
    dialog.Reset();
    WalkThread worker;
    if (!Launch(worker, job, &dialog)) return;
    dialog.DoModal();
    worker.Stop();  // after Cancel the rest of the walk ends at its next pause
}

}  // namespace filewalk
