// How fast the cache page lists and erases with its pauses off, beside bare loops over the same
// kind of tree in one run under the same Wine: a FindFirstFileA walk, a loop doing the listing's
// own work (two walks, an attribute reset per file), and a DeleteFileA loop; each with its ratio.
// Runs only in the build folder's test prefix: it erases its own scratch trees.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>

#include "AppHarness.h"
#include "Pacing.h"
#include "RegistryRead.h"
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

std::string MakeTree(const std::string& name, int folders, int filesEach) {
    std::string root = ScratchFolder(name);
    for (int d = 0; d < folders; ++d) {
        std::string sub = root + "\\F" + std::to_string(d);
        ::CreateDirectoryA(sub.c_str(), nullptr);
        for (int f = 0; f < filesEach; ++f) WriteFile(sub + "\\page" + std::to_string(f) + ".htm");
    }
    return root;
}

enum class Work { Count, Reset, Delete };

// A depth-first walk that counts files, resets their attributes, or deletes them.
int BareWalk(const std::string& folder, Work work) {
    int n = 0;
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA((folder + "\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        std::string path = folder + "\\" + d.cFileName;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (strcmp(d.cFileName, ".") && strcmp(d.cFileName, "..")) n += BareWalk(path, work);
        } else if (work == Work::Delete) {
            n += ::DeleteFileA(path.c_str()) != 0;
        } else {
            if (work == Work::Reset) ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ++n;
        }
    } while (::FindNextFileA(h, &d));
    ::FindClose(h);
    return n;
}

// Prints a figure; with a base time, also its speed as a ratio of the base's.
void Report(const char* what, int files, double s, double base = 0) {
    printf("%-46s %6d files %8.2f s %10.0f files/s", what, files, s, files / s);
    if (base > 0) printf("   %.2fx the speed of the loop above", base / s);
    printf("\n");
    fflush(stdout);
}

void PointCacheAt(const std::string& folder) { RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", folder); }

// The listing's figures, each the best of three runs taken in turn: on a busy machine the best
// run is the one least disturbed by others.
void ListThroughThePage(int folders, int filesEach) {
    std::string tree = MakeTree("bench-list", folders, filesEach);
    int files = folders * filesEach, rows = 0;
    struct Quiet : filewalk::WalkSink {
        void Pause(unsigned) override {}
    } quiet;
    PointCacheAt(tree);
    double bare = 1e9, same = 1e9, walk = 1e9, page = 1e9;
    for (int run = 0; run < 3; ++run) {
        bare = std::min(bare, Seconds([&] { BareWalk(tree, Work::Count); }));
        same = std::min(same, Seconds([&] {
            BareWalk(tree, Work::Reset);
            BareWalk(tree, Work::Count);
        }));
        walk = std::min(walk, Seconds([&] { filewalk::FolderWalk(false, quiet).Walk(tree + "\\"); }));
        page = std::min(page, Seconds([&] {
            auto* view = dynamic_cast<CTempNetFileVw*>(ViewOf(TheApp()->OpenPage(PageId::TempInternetFiles)));
            PumpUntil([&] { return !view->Listing() && view->m_list.GetItemCount() == files; }, 600000);
            rows = view->m_list.GetItemCount();
        }));
        CloseAllPages();
    }
    Report("bare FindFirstFileA walk", files, bare);
    Report("same-work loop (two walks, one reset per file)", files, same);
    Report("listing walk alone (no page)", files, walk, same);
    char label[64];
    snprintf(label, sizeof label, "page listing (%d folders, %d rows)", folders, rows);
    Report(label, files, page, same);
}

// The erase's figures, each the best of three runs taken in turn, on a fresh tree each.
void EraseThroughThePage(int folders, int filesEach) {
    int files = folders * filesEach, deleted = 0, pageErased = 0;
    double bare = 1e9, page = 1e9, quiet = 1e9;
    EraseResult r;
    for (int run = 0; run < 3; ++run) {
        std::string tree = MakeTree("bench-erase", folders, filesEach);
        bare = std::min(bare, Seconds([&] { deleted = BareWalk(tree, Work::Delete); }));
        PointCacheAt(MakeTree("bench-erase", folders, filesEach));
        CTempNetFileVw windowless;
        page = std::min(page, Seconds([&] { windowless.StartCacheErase(); }));
        pageErased = files - BareWalk(tree, Work::Count);
        MakeTree("bench-erase", folders, filesEach);
        quiet = std::min(quiet, Seconds([&] { r = CTempNetFileVw::EraseWithoutWindow(); }));
    }
    // Showing and closing the dialog costs the same for any number of files (under Xvfb without a
    // window manager, closing a shown window waits for one): a tenth of the files shows what that
    // is, and the files beyond them give the erase's own speed.
    PointCacheAt(MakeTree("bench-erase-tenth", folders, filesEach / 10));
    CTempNetFileVw tenth;
    double small = Seconds([&] { tenth.StartCacheErase(); });
    Report("bare DeleteFileA loop", deleted, bare);
    Report("page erase (behind its progress dialog)", pageErased, page, bare);
    int more = files - folders * (filesEach / 10);
    printf("  the same with a tenth of the files: %.2f s; the other %d files: %.0f files/s, %.2fx the bare loop\n", small,
           more, more / std::max(page - small, 1e-3), (bare / files) / std::max((page - small) / more, 1e-9));
    Report("erase without window", static_cast<int>(r.erased), quiet, bare);
}
}  // namespace

// Usage: bench_cache_walk [list|erase] (both when not given).
int main(int argc, char** argv) {
    std::string only = argc > 1 ? argv[1] : "";
    char prefix[1024] = "";
    ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (!strstr(prefix, "/test-prefix")) {
        fprintf(stderr, "refusing to run: not in the build folder's test Wine prefix\n");
        return 2;
    }
    Pacing::SetScalePercent(0);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    StartApp();
    if (only != "erase") {
        ListThroughThePage(10, 500);
        ListThroughThePage(40, 500);
    }
    if (only != "list") EraseThroughThePage(10, 300);
    return 0;
}
