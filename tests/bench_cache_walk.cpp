// How fast the cache page lists and erases with its pauses off, beside bare loops over the same
// kind of tree in one run under the same Wine: a FindFirstFileW walk, a loop doing the listing's
// own work (one walk keeping every path, a reset of each read-only file), and a DeleteFileW loop;
// each with its ratio.
// Runs only in the build folder's test prefix: it erases its own scratch trees.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "AppHarness.h"
#include "Pacing.h"
#include "Categories.h"
#include "Walk.h"
#include "internet/TempNetFileVw.h"
#include "TestKit.h"

using namespace testkit;
using Clock = std::chrono::steady_clock;

namespace {
double Seconds(const std::function<void()>& fn) {
    auto t0 = Clock::now();
    fn();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

std::wstring PageName(int f) { return L"page" + std::to_wstring(f) + L".htm"; }

std::wstring MakeTree(const std::wstring& name, int folders, int filesEach) {
    std::wstring root = ScratchFolder(name);
    for (int d = 0; d < folders; ++d) {
        std::wstring sub = root + L"\\F" + std::to_wstring(d);
        ::CreateDirectoryW(sub.c_str(), nullptr);
        for (int f = 0; f < filesEach; ++f) WriteFile(sub + L"\\" + PageName(f));
    }
    return root;
}

// Makes every n-th file read-only (none for 0), as it was before a listing reset it.
void MarkReadOnly(const std::wstring& root, int folders, int filesEach, int every) {
    for (int d = 0; d < folders && every; ++d)
        for (int f = 0; f < filesEach; f += every)
            ::SetFileAttributesW((root + L"\\F" + std::to_wstring(d) + L"\\" + PageName(f)).c_str(), FILE_ATTRIBUTE_READONLY);
}

enum class Work { Count, List, Delete };

// A depth-first walk that counts files, lists them (keeping each path), or deletes them.
int BareWalk(const std::wstring& folder, Work work, std::vector<std::wstring>* kept = nullptr) {
    int n = 0;
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW((folder + L"\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        std::wstring path = folder + L"\\" + d.cFileName;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(d.cFileName, L".") && wcscmp(d.cFileName, L"..")) n += BareWalk(path, work, kept);
        } else if (work == Work::Delete) {
            n += ::DeleteFileW(path.c_str()) != 0;
        } else {
            if (kept) kept->push_back(std::move(path));
            ++n;
        }
    } while (::FindNextFileW(h, &d));
    ::FindClose(h);
    return n;
}

// Prints a figure; with a base time, also its time as a multiple of the base's.
void Report(const wchar_t* what, int files, double s, double base = 0) {
    wprintf(L"%-56ls %6d files %8.2f s %10.0f files/s", what, files, s, files / s);
    if (base > 0) wprintf(L"   %.2fx the time of its loop", s / base);
    wprintf(L"\n");
    fflush(stdout);
}

void PointCacheAt(const std::wstring& folder) {
    RegSetString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Cache", folder);
}
engine::Result EraseCache() { return engine::RunErase(engine::CategoryOf("internet.cache"), {}); }
// The page's erase: behind its progress dialog, as ERASE runs it (a report only if something stayed).
void PageErase() {
    auto* view = dynamic_cast<CTempNetFileVw*>(ViewOf(TheApp()->OpenPage("internet.cache")));
    PumpUntil([&] { return !view->Listing(); }, 600000);
    view->OnErase();
    CloseAllPages();
}

// The listing's figures, each the best of three runs taken in turn: on a busy machine the best
// run is the one least disturbed by others.
void ListThroughThePage(int folders, int filesEach, int readOnlyEvery) {
    std::wstring tree = MakeTree(L"bench-list", folders, filesEach);
    int files = folders * filesEach, rows = 0;
    PointCacheAt(tree);
    double bare = 1e9, same = 1e9, walk = 1e9, page = 1e9;
    for (int run = 0; run < 3; ++run) {
        bare = std::min(bare, Seconds([&] { BareWalk(tree, Work::Count); }));
        MarkReadOnly(tree, folders, filesEach, readOnlyEvery);
        same = std::min(same, Seconds([&] {
            std::vector<std::wstring> kept;
            BareWalk(tree, Work::List, &kept);
        }));
        MarkReadOnly(tree, folders, filesEach, readOnlyEvery);
        walk = std::min(walk, Seconds([&] {
            engine::ListFolder(tree, {});
        }));
        MarkReadOnly(tree, folders, filesEach, readOnlyEvery);
        page = std::min(page, Seconds([&] {
            auto* view = dynamic_cast<CTempNetFileVw*>(ViewOf(TheApp()->OpenPage("internet.cache")));
            PumpUntil([&] { return !view->Listing() && view->m_list.GetItemCount() == files; }, 600000);
            rows = view->m_list.GetItemCount();
        }));
        CloseAllPages();
    }
    if (readOnlyEvery) wprintf(L"every %d. file read-only, left so by the listing:\n", readOnlyEvery);
    Report(L"bare FindFirstFileW walk", files, bare);
    Report(L"same-work loop (one walk, paths kept)", files, same);
    Report(L"listing walk alone (no page)", files, walk, same);
    // The page's last run changed nothing: the read-only files are read-only still.
    std::vector<std::wstring> paths;
    BareWalk(tree, Work::Count, &paths);
    int readOnly = static_cast<int>(std::count_if(paths.begin(), paths.end(), [](const std::wstring& p) {
        return (::GetFileAttributesW(p.c_str()) & FILE_ATTRIBUTE_READONLY) != 0;
    }));
    wchar_t label[96];
    swprintf(label, ARRAYSIZE(label), L"page listing (%d folders, %d rows, %d read-only kept)", folders, rows, readOnly);
    Report(label, files, page, same);
}

// The erase's figures, each the best of three runs taken in turn, on a fresh tree each.
void EraseThroughThePage(int folders, int filesEach) {
    int files = folders * filesEach, deleted = 0, pageErased = 0;
    double bare = 1e9, page = 1e9, quiet = 1e9;
    engine::Result r;
    for (int run = 0; run < 3; ++run) {
        std::wstring tree = MakeTree(L"bench-erase", folders, filesEach);
        bare = std::min(bare, Seconds([&] { deleted = BareWalk(tree, Work::Delete); }));
        PointCacheAt(MakeTree(L"bench-erase", folders, filesEach));
        page = std::min(page, Seconds(PageErase));
        pageErased = files - BareWalk(tree, Work::Count);
        MakeTree(L"bench-erase", folders, filesEach);
        quiet = std::min(quiet, Seconds([&] { r = EraseCache(); }));
    }
    // Showing and closing the dialog costs the same for any number of files (under Xvfb without a
    // window manager, closing a shown window waits for one): a tenth of the files shows what that
    // is, and the files beyond them give the erase's own speed.
    PointCacheAt(MakeTree(L"bench-erase-tenth", folders, filesEach / 10));
    double small = Seconds(PageErase);
    Report(L"bare DeleteFileW loop", deleted, bare);
    Report(L"page erase (behind its progress dialog)", pageErased, page, bare);
    int more = files - folders * (filesEach / 10);
    wprintf(L"  the same with a tenth of the files: %.2f s; the other %d files: %.0f files/s, %.2fx the time of the bare loop\n",
           small, more, more / std::max(page - small, 1e-3), ((page - small) / more) / std::max(bare / files, 1e-9));
    Report(L"erase without window", static_cast<int>(r.erased), quiet, bare);
}
}  // namespace

// Usage: bench_cache_walk [list|erase] (both when not given).
int main(int argc, char** argv) {
    std::string arg = argc > 1 ? argv[1] : "";
    std::wstring only(arg.begin(), arg.end());
    wchar_t prefix[1024] = L"";
    ::GetEnvironmentVariableW(L"WINEPREFIX", prefix, ARRAYSIZE(prefix));
    if (!wcsstr(prefix, L"/test-prefix")) {
        fwprintf(stderr, L"refusing to run: not in the build folder's test Wine prefix\n");
        return 2;
    }
    Pacing::SetScalePercent(0);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    StartApp();
    if (only != L"erase") {
        ListThroughThePage(10, 500, 0);
        ListThroughThePage(40, 500, 0);
        ListThroughThePage(40, 500, 8);
    }
    if (only != L"list") EraseThroughThePage(10, 300);
    return 0;
}
