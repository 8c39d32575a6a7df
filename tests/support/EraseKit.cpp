#include "EraseKit.h"

#include <chrono>
#include <fstream>
#include <iterator>

#include "TestKit.h"

#include "afxwin.h"
#include "resource.h"

namespace testkit {

std::wstring UseLibraryStub(const std::wstring& scratchName) {
    std::wstring log = ScratchFolder(scratchName) + L"\\calls.txt";
    ::SetEnvironmentVariableW(L"CORVANE_KESTRIX_LOG", log.c_str());
    std::wstring dir = ProgramFolder();
    ::CopyFileW((dir + L"kestrix\\Kestrix.dll").c_str(), (dir + L"Kestrix.dll").c_str(), FALSE);
    return log;
}

std::wstring ProgramFolder() {
    wchar_t exe[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir = exe;
    dir.resize(dir.rfind('\\') + 1);
    return dir;
}

std::wstring ReadText(const std::wstring& path) {
    std::ifstream in(path.c_str());
    std::string bytes(std::istreambuf_iterator<char>(in), {});  // the test library writes ASCII
    return std::wstring(bytes.begin(), bytes.end());
}

namespace {
BOOL CALLBACK FindProgress(HWND h, LPARAM lp) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    wchar_t cls[16] = L"";
    ::GetClassNameW(h, cls, ARRAYSIZE(cls));
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(h) && wcscmp(cls, L"#32770") == 0 && TextOf(h) == L"Vivazo") {
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

ProgressWatch::ProgressWatch(size_t cancelAt, int patienceMs)
    : m_cancelAt(cancelAt), m_patienceMs(patienceMs), m_thread([this] { Run(); }) {}

ProgressWatch::~ProgressWatch() {
    m_stop = true;
    m_thread.join();
}

std::vector<std::wstring> ProgressWatch::Paths() {
    std::lock_guard<std::mutex> g(m_lock);
    return m_paths;
}

bool ProgressWatch::HadToCancel() { return m_forced; }

void ProgressWatch::Run() {
    HWND cancelled = nullptr;
    const auto since = std::chrono::steady_clock::now();
    while (!m_stop) {
        HWND dlg = nullptr;
        ::EnumWindows(FindProgress, reinterpret_cast<LPARAM>(&dlg));
        if (dlg && dlg != cancelled) {
            std::wstring path = TextOf(::GetDlgItem(dlg, IDC_PROGRESS_PATH));
            size_t count;
            {
                std::lock_guard<std::mutex> g(m_lock);
                if (!path.empty() && (m_paths.empty() || m_paths.back() != path)) m_paths.push_back(path);
                count = m_paths.size();
            }
            bool late = std::chrono::steady_clock::now() - since > std::chrono::milliseconds(m_patienceMs);
            if ((m_cancelAt && count >= m_cancelAt) || late) {
                m_forced = m_forced || late;
                HWND button = ::GetDlgItem(dlg, IDC_PROGRESS_CANCEL);
                ::PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(button));
                cancelled = dlg;
            }
        }
        ::Sleep(2);
    }
}
}  // namespace testkit
