// How fast the cache page lists and erases with its pauses off, beside a bare FindFirstFileA walk
// and a bare DeleteFileA loop over the same kind of tree, in one run under the same Wine.
// Runs only in the build folder's test prefix: it erases its own scratch trees.
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

// A depth-first walk that only counts files, or deletes them.
int BareWalk(const std::string& folder, bool erase) {
    int n = 0;
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA((folder + "\\*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        std::string path = folder + "\\" + d.cFileName;
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) n += erase ? ::DeleteFileA(path.c_str()) != 0 : 1;
        else if (strcmp(d.cFileName, ".") && strcmp(d.cFileName, "..")) n += BareWalk(path, erase);
    } while (::FindNextFileA(h, &d));
    ::FindClose(h);
    return n;
}

void Report(const char* what, int files, double s) {
    printf("%-46s %6d files %8.2f s %10.0f files/s\n", what, files, s, files / s);
    fflush(stdout);
}

void PointCacheAt(const std::string& folder) { RegSetString(HKEY_CURRENT_USER, kShellFoldersKey, "Cache", folder); }

void ListThroughThePage(int folders, int filesEach) {
    std::string tree = MakeTree("bench-list", folders, filesEach);
    int files = folders * filesEach;
    Report("bare FindFirstFileA walk", BareWalk(tree, false), Seconds([&] { BareWalk(tree, false); }));
    PointCacheAt(tree);
    CTempNetFileVw* view = nullptr;
    double s = Seconds([&] {
        view = dynamic_cast<CTempNetFileVw*>(ViewOf(TheApp()->OpenPage(PageId::TempInternetFiles)));
        PumpUntil([&] { return !view->Listing() && view->m_list.GetItemCount() == files; }, 600000);
    });
    char label[64];
    snprintf(label, sizeof label, "page listing (%d folders, %d rows)", folders, view->m_list.GetItemCount());
    Report(label, files, s);
    CloseAllPages();
}

void EraseThroughThePage(int folders, int filesEach) {
    int files = folders * filesEach;
    std::string bare = MakeTree("bench-erase-bare", folders, filesEach);
    double s = 0;
    int deleted = 0;
    s = Seconds([&] { deleted = BareWalk(bare, true); });
    Report("bare DeleteFileA loop", deleted, s);
    std::string tree = MakeTree("bench-erase-page", folders, filesEach);
    PointCacheAt(tree);
    CTempNetFileVw windowless;
    s = Seconds([&] { windowless.StartCacheErase(); });
    Report("page erase (window-less view)", files - BareWalk(tree, false), s);
}
}  // namespace

int main() {
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
    ListThroughThePage(10, 500);
    ListThroughThePage(40, 500);
    EraseThroughThePage(20, 500);
    return 0;
}
