// How fast the cache page lists and erases with its pauses off, beside bare loops over the same
// kind of tree in one run under the same Wine: a loop doing the listing's own work (one
// FindFirstFileW walk keeping every path) and a DeleteFileW loop; each with its ratio.
// Runs only in the build folder's test prefix: it erases its own scratch trees.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <vector>

#include "AppHarness.h"
#include "Pacing.h"
#include "Categories.h"
#include "Walk.h"
#include "internet/TempNetFileVw.h"

using namespace testkit;

namespace {
// Prints a figure; with a ratio, also its speed as a multiple of its bare loop's.
void Report(const wchar_t* what, int files, double s, double ratio = 0) {
    wprintf(L"%-56ls %6d files %8.2f s %10.0f files/s", what, files, s, files / s);
    if (ratio > 0) wprintf(L"   %.2fx the speed of its loop", ratio);
    wprintf(L"\n");
    fflush(stdout);
}

double Mean(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0) / v.size(); }
// The median of the round-by-round ratios of a bare loop's times to another's: load that comes
// and goes on a shared machine falls on both sides of a round alike.
double MedianRatio(const std::vector<double>& bare, const std::vector<double>& times) {
    std::vector<double> r;
    for (size_t i = 0; i < bare.size(); ++i) r.push_back(bare[i] / times[i]);
    std::nth_element(r.begin(), r.begin() + r.size() / 2, r.end());
    return r[r.size() / 2];
}

engine::Result EraseCache() { return engine::RunErase(engine::CategoryOf("internet.cache"), {}); }
// The page's erase: behind its progress dialog, as ERASE runs it (a report only if something
// stayed), timed from the click; the page's listing before it is the listing's own figure.
double PageErase() {
    auto* view = dynamic_cast<CTempNetFileVw*>(ViewOf(TheApp()->OpenPage("internet.cache")));
    PumpUntil([&] { return !view->Listing(); }, 600000);
    double s = SecondsTaken([&] { view->OnErase(); });
    CloseAllPages();
    return s;
}

// The listing's figures, each the best of three runs taken in turn: on a busy machine the best
// run is the one least disturbed by others.
void ListThroughThePage(int folders, int filesEach) {
    std::wstring tree = ScratchTree(L"bench-list", folders, filesEach);
    int files = folders * filesEach, rows = 0;
    PointCacheAt(tree);
    double same = 1e9, walk = 1e9, page = 1e9;
    for (int run = 0; run < 3; ++run) {
        same = std::min(same, SecondsTaken([&] {
            std::vector<std::wstring> kept;
            BareWalk(tree, false, &kept);
        }));
        walk = std::min(walk, SecondsTaken([&] { engine::ListFolder(tree, {}); }));
        page = std::min(page, SecondsTaken([&] {
            auto* view = dynamic_cast<CTempNetFileVw*>(ViewOf(TheApp()->OpenPage("internet.cache")));
            PumpUntil([&] { return !view->Listing() && view->m_list.GetItemCount() == files; }, 600000);
            rows = view->m_list.GetItemCount();
        }));
        CloseAllPages();
    }
    Report(L"same-work loop (one walk, paths kept)", files, same);
    Report(L"listing walk alone (no page)", files, walk, same / walk);
    wchar_t label[96];
    swprintf(label, ARRAYSIZE(label), L"page listing (%d folders, %d rows)", folders, rows);
    Report(label, files, page, same / page);
}

// The erase's figures over five rounds, each erase once a round on a fresh tree, in an order
// that turns each round.
void EraseThroughThePage(int folders, int filesEach) {
    int files = folders * filesEach, deleted = 0, pageErased = 0;
    std::vector<double> bare, page, quiet;
    engine::Result r;
    std::wstring tree;
    const std::function<void()> erases[] = {
        [&] { bare.push_back(SecondsTaken([&] { deleted = BareWalk(tree, true); })); },
        [&] {
            page.push_back(PageErase());
            pageErased = files - BareWalk(tree, false);
        },
        [&] { quiet.push_back(SecondsTaken([&] { r = EraseCache(); })); },
    };
    for (int round = 0; round < 5; ++round)
        for (int i = 0; i < 3; ++i) {
            PointCacheAt(tree = ScratchTree(L"bench-erase", folders, filesEach));
            erases[(round + i) % 3]();
        }
    // Showing and closing the dialog costs the same for any number of files (under Xvfb without a
    // window manager, closing a shown window waits for one): a tenth of the files shows what that
    // is, and the files beyond them give the erase's own speed.
    PointCacheAt(ScratchTree(L"bench-erase-tenth", folders, filesEach / 10));
    double small = PageErase();
    Report(L"bare DeleteFileW loop", deleted, Mean(bare));
    Report(L"page erase (behind its progress dialog)", pageErased, Mean(page), MedianRatio(bare, page));
    int more = files - folders * (filesEach / 10);
    wprintf(L"  the same with a tenth of the files: %.2f s; the other %d files: %.0f files/s, %.2fx the speed of the bare loop\n",
            small, more, more / std::max(Mean(page) - small, 1e-3), (Mean(bare) / files) / std::max((Mean(page) - small) / more, 1e-9));
    Report(L"erase without window", static_cast<int>(r.erased), Mean(quiet), MedianRatio(bare, quiet));
}
}  // namespace

// Usage: bench_cache_walk [list|erase] (both when not given).
int main(int argc, char** argv) {
    std::string arg = argc > 1 ? argv[1] : "";
    std::wstring only(arg.begin(), arg.end());
    if (!InsideTestPrefix()) return 2;
    Pacing::SetScalePercent(0);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    StartApp();
    if (only != L"erase") {
        ListThroughThePage(10, 500);
        ListThroughThePage(40, 500);
    }
    if (only != L"list") EraseThroughThePage(10, 300);
    return 0;
}
