// The summaries (Internet, System, Application Traces, and Web Browsers against the profiles
// tests/browsers/make_profiles.sh makes) and the one runner and hand-off beneath every erase:
// check boxes, "Details..." links, which categories an erase runs and what its one report says,
// and a page closed during its erase or under its report. What each category erases is the
// business of the engine's suite and of each category's own page.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "AppHarness.h"
#include "Categories.h"
#include "Inbox.h"
#include "ModalScript.h"
#include "Pages.h"
#include "SummaryErase.h"
#include "TestKit.h"
#include "Worker.h"
#include "browsers/BrowsersVw.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kCaption[] = L"Corvane-Sweepmere";
const std::pair<const char*, const char*> kSummaries[] = {{"System", pages::kSystem}, {"ApplicationTraces", pages::kApplications}};

std::wstring Heading(const char* key) { return engine::CategoryOf(key).name; }

// The categories a report names, in its order (each line up to " (").
std::vector<std::wstring> Named(const std::wstring& report) {
    std::vector<std::wstring> names;
    std::wistringstream in(report);
    for (std::wstring l; std::getline(in, l);)
        if (l.find(L" (") != std::wstring::npos) names.push_back(l.substr(0, l.find(L" (")));
    return names;
}
// The log-off prompt is a dialog of its own: unlike a message box, it has no message text.
size_t LogOffPrompts(const std::vector<SeenDialog>& boxes) {
    return std::count_if(boxes.begin(), boxes.end(), [](const SeenDialog& d) { return d.text.empty(); });
}

// A summary page, or the Web Browsers page, opened as the tree opens it and pressed as a user does.
class SummaryErase : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }
    CErasingSummaryView* Open(const char* key) {
        busy = [this] { return view->Erasing(); };
        page = view = OpenPage<CErasingSummaryView>(key);
        return view;
    }
    // Open once the survey of the browsers is in.
    CBrowsersVw* OpenBrowsers() {
        page = browsers = OpenPage<CBrowsersVw>(pages::kBrowsers);
        busy = [this] { return browsers->Busy(); };
        if (browsers) EXPECT_TRUE(PumpUntil([&] { return !busy(); }, 20000));
        return browsers;
    }
    HWND Item(int id) const { return ::GetDlgItem(page->m_hWnd, id); }
    size_t Row(const std::string& key) const {
        const auto& rows = browsers->Rows();
        return std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.key == key; }) - rows.begin();
    }
    std::wstring Description(const std::string& key) const { return ItemText(page->m_hWnd, CBrowsersVw::DescriptionId(Row(key))); }
    bool Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetCheck(int id, bool on) { ::SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    void Press(int id) { page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    // Presses the button and waits until the erase, its report and the log-off prompt are over;
    // returns every box seen (each closed without its "Yes").
    std::vector<SeenDialog> EraseWith(int id) {
        DialogAnswerer boxes(kCaption, IDCANCEL);
        Press(id);
        EXPECT_TRUE(PumpUntil([&] { return !busy(); }, 20000));
        return boxes.Seen();
    }
    // The text of the one box an erase shows, where it shows exactly one.
    std::wstring OneBox(int id) {
        std::vector<SeenDialog> boxes = EraseWith(id);
        EXPECT_EQ(boxes.size(), 1u);
        return boxes.size() == 1 ? boxes[0].text : L"";
    }

    CWnd* page = nullptr;
    CErasingSummaryView* view = nullptr;
    CBrowsersVw* browsers = nullptr;
    std::function<bool()> busy;
};
class SummaryPage : public SummaryErase, public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};
}  // namespace

// Select All and Clear All, each row's own erase, Erase Now, and each "Details..." link.
TEST_P(SummaryPage, ARowsEraseRunsItsCategoryAloneEraseNowTheCheckedRowsWithOneReportAndDetailsOpensTheRowsPage) {
    ASSERT_NE(Open(GetParam().second), nullptr);
    const SummaryFace& face = view->Face();
    const std::vector<SummaryRow>& rows = face.rows;
    const int eraseNow = face.eraseAllId;
    auto checked = [&] { return std::count_if(rows.begin(), rows.end(), [&](const SummaryRow& r) { return Checked(r.checkId); }); };
    EXPECT_EQ(checked(), 0);
    Press(face.selectAllId);
    EXPECT_EQ(checked(), 10);
    Press(face.clearAllId);
    EXPECT_EQ(checked(), 0);
    EXPECT_EQ(OneBox(eraseNow), CErasingSummaryView::kNothingChecked);

    for (const SummaryRow& row : rows) {  // each row's own erase, whatever is checked
        for (const SummaryRow& r : rows) SetCheck(r.checkId, &r != &row);
        std::vector<SeenDialog> boxes = EraseWith(row.eraseId);
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(Named(boxes[0].text), std::vector<std::wstring>{Heading(row.key)}) << boxes[0].text;
        // Only the registry traces' row offers the log-off, once, after the report.
        EXPECT_EQ(LogOffPrompts(boxes), std::string(row.key) == "system.registry-traces" ? 1u : 0u) << row.key;
        EXPECT_EQ(boxes.size(), 1 + LogOffPrompts(boxes));
    }

    std::vector<std::wstring> expected;  // every other row, the log-off's among them
    for (size_t i = 0; i < rows.size(); ++i) {
        SetCheck(rows[i].checkId, i % 2);
        if (i % 2) expected.push_back(Heading(rows[i].key));
    }
    std::vector<SeenDialog> boxes = EraseWith(eraseNow);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(Named(boxes[0].text), expected);
    EXPECT_EQ(LogOffPrompts(boxes), GetParam().second == pages::kSystem ? 1u : 0u);
    EXPECT_TRUE(::IsWindowEnabled(Item(eraseNow)));

    for (const SummaryRow& r : rows) {
        size_t before = TheApp()->PageTemplate(r.key)->GetDocuments().size();
        ::SendMessageW(Item(r.detailsId), BM_CLICK, 0, 0);  // the shell cannot open "Details...": the page is told
        Pump();
        EXPECT_EQ(TheApp()->PageTemplate(r.key)->GetDocuments().size(), before + 1) << r.key;
    }
    size_t all = DocumentCount();
    view->SendMessage(WM_LINK_CLICKED, 1214, 0);
    view->SendMessage(WM_LINK_CLICKED, rows[0].checkId, 0);
    EXPECT_EQ(DocumentCount(), all);
}

INSTANTIATE_TEST_SUITE_P(Both, SummaryPage, ::testing::ValuesIn(kSummaries),
                         [](const ::testing::TestParamInfo<std::pair<const char*, const char*>>& info) { return info.param.first; });

TEST_F(SummaryErase, TheInternetCheckBoxesEnableEraseSelectedWhichTakesTheCheckedRowsInItsOrder) {
    ASSERT_NE(Open(pages::kInternet), nullptr);
    const std::vector<SummaryRow>& rows = view->Face().rows;
    auto canErase = [&] { return ::IsWindowEnabled(Item(IDC_INTERNET_ERASE_SELECTED)) != FALSE; };
    for (const SummaryRow& r : rows) EXPECT_TRUE(Checked(r.checkId)) << r.key;
    for (const SummaryRow& r : rows) {  // cleared one by one: the last one takes Erase Selected with it
        EXPECT_TRUE(canErase()) << r.key;
        ::SendMessageW(Item(r.checkId), BM_CLICK, 0, 0);
    }
    EXPECT_FALSE(canErase());
    for (int id : {IDC_INTERNET_CHECK_HISTORY, IDC_INTERNET_CHECK_TYPEDURL}) ::SendMessageW(Item(id), BM_CLICK, 0, 0);
    EXPECT_TRUE(canErase());
    EXPECT_EQ(Named(OneBox(IDC_INTERNET_ERASE_SELECTED)), (std::vector<std::wstring>{L"Typed URLs", L"History"}));  // no progress dialog
}

TEST_F(SummaryErase, APageClosedDuringItsEraseOrUnderItsReportIsLeftAlone) {
    ASSERT_NE(Open(pages::kSystem), nullptr);
    // Closed before the worker can answer: no report comes, and the next erase still runs.
    {
        DialogAnswerer boxes(kCaption, IDCANCEL);
        view->GetParentFrame()->PostMessage(WM_CLOSE);
        Press(IDC_SYSTEM_ERASE_RECENTDOC);
        ASSERT_NE(Open(pages::kSystem), nullptr);
        Press(IDC_SYSTEM_ERASE_EVENTLOG);
        ASSERT_TRUE(PumpUntil([&] { return !view->Erasing(); }, 20000));
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(Named(boxes.Seen()[0].text), std::vector<std::wstring>{Heading("system.event-log")});
    }
    HWND page = view->m_hWnd;
    std::wstring report;
    EXPECT_TRUE(WithModalDialog(kCaption, [&](HWND box) {
        report = TextOf(::GetDlgItem(box, 0xFFFF));
        for (int id : {IDC_SYSTEM_ERASE_NOW, IDC_SYSTEM_ERASE_CLIPBOARD, IDC_SYSTEM_SELECTALL, IDC_SYSTEM_DETAILS_CLIPBOARD})
            EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page, id))) << id;
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page, IDC_SYSTEM_CHECK_CLIPBOARD)));
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        Click(box, IDOK);
    }, [&] {
        Press(IDC_SYSTEM_ERASE_CLIPBOARD);
        PumpUntil([&] { return !::IsWindow(page); }, 20000);
    }));
    EXPECT_EQ(Named(report), std::vector<std::wstring>{Heading("system.clipboard")});
    EXPECT_TRUE(TheApp()->PageTemplate(pages::kSystem)->GetDocuments().empty());
}

// A row per category of each browser found, with its profiles; its erases run their categories,
// report once and count again; a page closed during an erase is never told of it; and a machine
// without a browser is told so.
TEST_F(SummaryErase, WebBrowsersShowsRowsOfTheBrowsersFoundAndErasesWhatIsChecked) {
    ASSERT_NE(OpenBrowsers(), nullptr);
    ASSERT_EQ(browsers->Rows().size(), 12u);  // Edge, Chrome, Firefox and Opera
    EXPECT_EQ(ItemText(page->m_hWnd, IDC_BROWSERS_NONE), L"");
    struct Expected { const char* key; const wchar_t *heading, *profiles; };
    for (const Expected& e : {Expected{"browser.chrome.history", L"Google Chrome: History", L"3 profiles, "},
                              Expected{"browser.edge.cache", L"Microsoft Edge: Cache", L"1 profile, "},
                              Expected{"browser.firefox.cookies", L"Mozilla Firefox: Cookies", L"2 profiles, "}}) {
        EXPECT_EQ(ItemText(page->m_hWnd, CBrowsersVw::HeadingId(Row(e.key))), e.heading);
        EXPECT_EQ(Description(e.key).rfind(e.profiles, 0), 0u) << Description(e.key);
        EXPECT_TRUE(::IsWindowEnabled(Item(CBrowsersVw::EraseId(Row(e.key)))));
    }
    auto checked = [&] {
        size_t n = 0;
        for (size_t i = 0; i < browsers->Rows().size(); ++i) n += Checked(CBrowsersVw::CheckId(i));
        return n;
    };
    Press(IDC_BROWSERS_SELECTALL);
    EXPECT_EQ(checked(), 12u);
    Press(IDC_BROWSERS_CLEARALL);
    EXPECT_EQ(checked(), 0u);

    EXPECT_EQ(OneBox(IDC_BROWSERS_ERASE_NOW), CBrowsersVw::kNothingChecked);

    EXPECT_EQ(Description("browser.firefox.cookies").find(L", 0 items,"), std::wstring::npos);
    {
        DialogAnswerer box(kCaption);
        Press(CBrowsersVw::EraseId(Row("browser.firefox.cookies")));
        EXPECT_FALSE(::IsWindowEnabled(Item(IDC_BROWSERS_ERASE_NOW))) << "the buttons wait for the erase";
        ASSERT_TRUE(PumpUntil([&] { return !busy(); }, 20000));
        ASSERT_EQ(box.Count(), 1u);
        EXPECT_EQ(Named(box.Seen()[0].text), std::vector<std::wstring>{L"Mozilla Firefox: Cookies"});
    }
    EXPECT_TRUE(::IsWindowEnabled(Item(IDC_BROWSERS_ERASE_NOW)));
    EXPECT_NE(Description("browser.firefox.cookies").find(L", 0 items,"), std::wstring::npos);

    for (const char* key : {"browser.chrome.cookies", "browser.firefox.cache"}) SetCheck(CBrowsersVw::CheckId(Row(key)), true);
    EXPECT_EQ(Named(OneBox(IDC_BROWSERS_ERASE_NOW)), (std::vector<std::wstring>{L"Google Chrome: Cookies", L"Mozilla Firefox: Cache"}));
    EXPECT_TRUE(Checked(CBrowsersVw::CheckId(Row("browser.firefox.cache")))) << "the rows counted again keep their checks";

    DialogAnswerer closed(kCaption);
    Press(CBrowsersVw::EraseId(Row("browser.edge.cache")));
    CloseAllPages();
    PumpUntil([] { return false; }, 300);

    // No browser at all: the page says so.
    std::wstring empty = ScratchFolder(L"no-browsers");
    wchar_t local[MAX_PATH], roaming[MAX_PATH];
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    ::GetEnvironmentVariableW(L"APPDATA", roaming, MAX_PATH);
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", empty.c_str());
    ::SetEnvironmentVariableW(L"APPDATA", empty.c_str());
    OpenBrowsers();
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", local);
    ::SetEnvironmentVariableW(L"APPDATA", roaming);
    ASSERT_NE(browsers, nullptr);
    EXPECT_TRUE(browsers->Rows().empty());
    EXPECT_EQ(ItemText(page->m_hWnd, IDC_BROWSERS_NONE), CBrowsersVw::kNoneFound);
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_BROWSERS_ERASE_NOW)));
    EXPECT_EQ(closed.Count(), 0u);  // the closed page was never told, and this one said nothing
}

// The one runner and its one report. A stop asked in between ends the run before the next
// category (that each runs in turn past a failure, told as it ends, is the console's test); the
// report has a line per category, with bytes only where files went, and the first reason.
TEST(EraseCategories, AStopEndsTheRunBeforeTheNextCategoryAndTheReportHasALinePerCategory) {
    int runs = 0;
    const engine::Category counted{"test.counted", "test", L"Counted", nullptr, [&runs](const engine::Options&) {
        ++runs;
        return engine::Result{};
    }};
    engine::StopToken stop;
    engine::Options options;
    options.stop = &stop;
    EXPECT_EQ(engine::EraseCategories({&counted, &counted}, options, [&](auto&, auto&) { stop.Request(); }).size(), 1u);
    EXPECT_EQ(runs, 1);

    engine::Result bin, run, none;
    bin.erased = 3, bin.bytes = 2048, run.erased = 1;
    bin.Failed(L"in use");
    bin.Failed(L"later reason");
    EXPECT_EQ(engine::ReportText({{L"Recycle Bin", bin, 40}, {L"Run", run, 1500}, {L"Clipboard Content", none, 0}}),
              L"Recycle Bin (40 ms): 3 items erased (2.00 KB); 2 not erased: in use\nRun (1.5 s): 1 item erased\n"
              L"Clipboard Content (0 ms): nothing to erase.\n\nTime taken: 1.5 s.");
}

// Two inboxes of one thread: any message loop of the thread delivers each in order, and one that
// is gone by then is passed over.
TEST(Inbox, AMessageDeliversTheInboxItNamesWhileThatOneLives) {
    auto kept = std::make_shared<ui::Inbox>(), gone = std::make_shared<ui::Inbox>();
    std::vector<int> got;
    engine::Worker worker;
    worker.Start([&](const engine::StopToken&) {
        for (int i : {1, 2}) gone->Post([&got, i] { got.push_back(-i); }), kept->Post([&got, i] { got.push_back(i); });
    });
    worker.Join();
    gone.reset();
    MSG m;
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&m);
    EXPECT_EQ(got, (std::vector<int>{1, 2}));
}
