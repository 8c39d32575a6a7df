// The System and Application Traces summaries, against a test prefix seeded with a trace in every
// category and a sentinel beside each: their check boxes, "Details..." links and erases.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "AppHarness.h"
#include "Categories.h"
#include "MruBytes.h"
#include "Report.h"
#include "Traces.h"
#include "FakeEventLog.h"
#include "LinkButton.h"
#include "ModalScript.h"
#include "ShellKit.h"
#include "SummaryErase.h"
#include "Pages.h"
#include "TestKit.h"
#include "applications/RecentFileListPages.h"
#include "resource.h"
#include "system/SystemVw.h"

using namespace testkit;

namespace {
const wchar_t kCaption[] = L"Corvane-Sweepmere";
const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring kComDlg = kExplorer + L"\\ComDlg32", kOpenSave = kComDlg + L"\\OpenSaveMRU\\txt";
const std::wstring kCount = kExplorer + L"\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count";
const std::wstring kEditor = L"P:\\Gbbyf\\Rqvgbe.rkr", kSession = L"HRZR_PGYFRFFVBA";  // as the shell stores them: ROT13
const std::wstring kRunKey = kExplorer + L"\\RunMRU";
const auto g_log = std::make_shared<FakeLogState>();

std::wstring Heading(const char* key) { return engine::FindCategory(key)->name; }
std::wstring Scratch(const std::wstring& name) { return L"C:\\corvane-scratch\\sum-" + name; }
bool Has(const std::wstring& key, const std::wstring& value) { return RegValueExists(HKEY_CURRENT_USER, key, value); }
void Set(const std::wstring& key, const std::wstring& value, const std::wstring& data) { RegSetString(HKEY_CURRENT_USER, key, value, data); }

// One erasable row: how a test leaves its trace and a sentinel beside it.
struct Category {
    const char* key;  // the report names it by the engine's name
    int check, erase;
    std::function<void()> seed;
    std::function<bool()> traced, kept;  // the trace, the sentinel is there
};
// A file to erase and one beside it that stays.
Category Files(const char* heading, int check, int erase, const std::wstring& trace, const std::wstring& beside) {
    return {heading, check, erase, [=] { WriteFile(trace), WriteFile(beside); }, [=] { return FileExists(trace); },
            [=] { return FileExists(beside); }};
}
// A value named in its key's "MRUList", and one the list does not name.
Category Listed(const char* heading, int check, int erase, const std::wstring& key) {
    return {heading, check, erase, [=] { Set(key, L"a", L"C:\\old\\one.txt"), Set(key, L"MRUList", L"a"), Set(key, L"z", L"x"); },
            [=] { return Has(key, L"a"); }, [=] { return Has(key, L"z"); }};
}
// An application's first recent file, and a value of another name in the same key.
Category App(const char* heading, int check, int erase) {
    NumberedList list = NumberedListOf(heading);
    std::wstring first = list.Name(list.first), key = list.key;
    return {heading, check, erase, [=] { Set(key, first, L"C:\\trace.doc"), Set(key, L"Keep", L"x"); }, [=] { return Has(key, first); },
            [=] { return Has(key, L"Keep"); }};
}

const std::vector<Category> kSystemRows{
    Files("system.user-temp", IDC_SYSTEM_CHECK_ADMINTEMP, IDC_SYSTEM_ERASE_ADMINTEMP, Scratch(L"temp\\trace.tmp"),
          Scratch(L"temp-beside.txt")),
    {"system.clipboard", IDC_SYSTEM_CHECK_CLIPBOARD, IDC_SYSTEM_ERASE_CLIPBOARD, [] { PutClipboardText(L"secret"); },
     [] { return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE; }, [] { return true; }},
    {"system.mfu", IDC_SYSTEM_CHECK_MFUREG, IDC_SYSTEM_ERASE_MFUREG,
     [] { RegSetDword(HKEY_CURRENT_USER, kCount, kEditor, 5), RegSetDword(HKEY_CURRENT_USER, kCount, kSession, 1); },
     [] { return Has(kCount, kEditor); }, [] { return Has(kCount, kSession); }},
    Listed("system.open-file-history", IDC_SYSTEM_CHECK_OFHISTORY, IDC_SYSTEM_ERASE_OFHISTORY, kOpenSave),
    Files("system.recent-documents", IDC_SYSTEM_CHECK_RECENTDOC, IDC_SYSTEM_ERASE_RECENTDOC, Scratch(L"recent\\doc.lnk"),
          Scratch(L"recent\\kept\\inner.txt")),
    Files("system.network-places", IDC_SYSTEM_CHECK_RECENTNW, IDC_SYSTEM_ERASE_RECENTNW, Scratch(L"nethood\\share.lnk"),
          Scratch(L"nethood\\kept\\inner.txt")),
    {"system.recycle-bin", IDC_SYSTEM_CHECK_RECYCLE, IDC_SYSTEM_ERASE_RECYCLE,
     [] { SeedTrash(TrashFolder(), L"sum-bin.txt"), WriteFile(Scratch(L"bin-beside.txt")); },
     [] { return FileExists(TrashFolder() + L"\\files\\sum-bin.txt"); }, [] { return FileExists(Scratch(L"bin-beside.txt")); }},
    Listed("system.registry-traces", IDC_SYSTEM_CHECK_SYSREG, IDC_SYSTEM_ERASE_SYSREG, kRunKey),
    Files("system.windows-temp", IDC_SYSTEM_CHECK_SYSTEMP, IDC_SYSTEM_ERASE_SYSTEMP, engine::WindowsTempFolder() + L"\\sum-trace.tmp",
          engine::WindowsTempFolder() + L"\\..\\sum-beside.txt"),
    {"system.event-log", IDC_SYSTEM_CHECK_EVENTLOG, IDC_SYSTEM_ERASE_EVENTLOG, [] { g_log->records = {BuildRecord(RecordSpec{})}; },
     [] { return !g_log->records.empty(); }, [] { return true; }},
};
const std::vector<Category> kApplicationRows{
    App("apps.access", IDC_APPTRACES_CHECK_ACCESS, IDC_APPTRACES_ERASE_ACCESS),
    App("apps.excel", IDC_APPTRACES_CHECK_EXCEL, IDC_APPTRACES_ERASE_EXCEL),
    App("apps.mmc", IDC_APPTRACES_CHECK_MMCONSOLE, IDC_APPTRACES_ERASE_MMCONSOLE),
    App("apps.powerpoint", IDC_APPTRACES_CHECK_POWERPOINT, IDC_APPTRACES_ERASE_POWERPOINT),
    App("apps.paint", IDC_APPTRACES_CHECK_PAINT, IDC_APPTRACES_ERASE_PAINT),
    App("apps.media-player", IDC_APPTRACES_CHECK_MEDIAPLAYER, IDC_APPTRACES_ERASE_MEDIAPLAYER),
    App("apps.winzip", IDC_APPTRACES_CHECK_WINZIP, IDC_APPTRACES_ERASE_WINZIP),
    App("apps.wordpad", IDC_APPTRACES_CHECK_WORDPAD, IDC_APPTRACES_ERASE_WORDPAD),
};

struct Summary {
    const wchar_t* name;
    const char* page;
    const std::vector<Category>* rows;
    int eraseNow, selectAll, clearAll;
    std::vector<int> noErase, checks;  // rows without an erase of their own; every row's check box
    std::vector<std::pair<int, const char*>> links;  // "Details..." and the page it opens
};
const Summary kSystem{
    L"System", pages::kSystem, &kSystemRows, IDC_SYSTEM_ERASE_NOW, IDC_SYSTEM_SELECTALL, IDC_SYSTEM_CLEARALL, {},
    {1122, 1134, 1148, 1052, 1035, 1142, 1130, 1147, 1126, 1138},
    {{1196, "system.user-temp"}, {1197, "system.clipboard"}, {1198, "system.mfu"}, {1199, "system.open-file-history"},
     {1200, "system.recent-documents"}, {1201, "system.network-places"}, {1202, "system.recycle-bin"},
     {1203, "system.registry-traces"}, {1204, "system.windows-temp"}, {1205, "system.event-log"}}};
const Summary kApplications{
    L"ApplicationTraces", pages::kApplications, &kApplicationRows, IDC_APPTRACES_ERASE_NOW, IDC_APPTRACES_SELECTALL,
    IDC_APPTRACES_CLEARALL, {},
    {1086, 1258, 1259, 1169, 1260, 1163, 1166, 1160, 1171, 1174},
    {{1215, "apps.acrobat"}, {1206, "apps.access"}, {1207, "apps.excel"}, {1208, "apps.mmc"},
     {1209, "apps.powerpoint"}, {1211, "apps.paint"}, {1212, "apps.media-player"}, {1210, "apps.word"},
     {1213, "apps.winzip"}, {1216, "apps.wordpad"}}};

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    std::wistringstream in(text);
    for (std::wstring l; std::getline(in, l);) lines.push_back(l);
    return lines;
}
// The log-off prompt is a dialog of its own: unlike a message box, it has no message text.
size_t LogOffPrompts(const std::vector<SeenDialog>& boxes) {
    return std::count_if(boxes.begin(), boxes.end(), [](const SeenDialog& d) { return d.text.empty(); });
}
size_t AllDocuments() {
    size_t n = 0;
    for (CDocTemplate* t : TheApp()->GetDocTemplates()) n += t->GetDocuments().size();
    return n;
}

class SummaryErase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        ASSERT_FALSE(TrashFolder().empty()) << L"the trash of the test HOME is not reachable from inside the prefix";
        ::GetEnvironmentVariableW(L"TMP", m_tmp, ARRAYSIZE(m_tmp));
        for (const wchar_t* dir : {L"temp", L"recent", L"nethood"}) ScratchFolder(std::wstring(L"sum-") + dir);
        for (const wchar_t* dir : {L"recent\\kept", L"nethood\\kept"}) ::CreateDirectoryW(Scratch(dir).c_str(), nullptr);
        for (const wchar_t* var : {L"TMP", L"TEMP"}) ::SetEnvironmentVariableW(var, Scratch(L"temp").c_str());
        ClearKeys();
    }
    void TearDown() override {
        CloseAllPages();
        for (const wchar_t* var : {L"TMP", L"TEMP"}) ::SetEnvironmentVariableW(var, m_tmp);
        ClearKeys();
    }
    static void ClearKeys() {
        for (const std::wstring& k : {kComDlg, kExplorer + L"\\UserAssist", kRunKey})
            RegDeleteTree(HKEY_CURRENT_USER, k);
        for (const engine::Category& c : engine::Categories())
            if (c.group == "apps") RegDeleteTree(HKEY_CURRENT_USER, NumberedListOf(c.key).key);
    }
    static void SeedAll(const Summary& s) {
        for (const Category& c : *s.rows) c.seed();
    }
    CErasingSummaryView* Open(const Summary& s) {
        view = dynamic_cast<CErasingSummaryView*>(ViewOf(TheApp()->OpenPage(s.page)));
        Pump();
        return view;
    }
    HWND Item(int id) const { return ::GetDlgItem(view->m_hWnd, id); }
    void SetCheck(int id, bool on) { ::SendMessageW(Item(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    void Press(int id) { view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    // Presses the button and waits until the erase, its report and the log-off prompt are over;
    // returns every box seen (each closed without its "Yes").
    std::vector<SeenDialog> EraseWith(int id) {
        DialogAnswerer boxes(kCaption, IDCANCEL);
        Press(id);
        EXPECT_TRUE(PumpUntil([&] { return !view->Erasing(); }, 20000));
        return boxes.Seen();
    }

    CErasingSummaryView* view = nullptr;

private:
    wchar_t m_tmp[MAX_PATH] = L"";
    ScopedShellFolder m_recent{L"Recent", Scratch(L"recent")}, m_nethood{L"NetHood", Scratch(L"nethood")};
    UseFakeEventLog m_log{g_log};
};
class SummaryPage : public SummaryErase, public ::testing::WithParamInterface<const Summary*> {};
}  // namespace

TEST_P(SummaryPage, SelectAllAndClearAllSetEveryRowAndEachDetailsLinkOpensOneMorePageOfItsRow) {
    const Summary& s = *GetParam();
    ASSERT_NE(Open(s), nullptr);
    auto checked = [&] {
        return std::count_if(s.checks.begin(), s.checks.end(),
                             [&](int id) { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; });
    };
    EXPECT_EQ(checked(), 0);
    Press(s.selectAll);
    EXPECT_EQ(checked(), 10);
    Press(s.clearAll);
    EXPECT_EQ(checked(), 0);

    for (const auto& [id, kind] : s.links) {
        size_t before = TheApp()->PageTemplate(kind)->GetDocuments().size();
        ::SendMessageW(Item(id), BM_CLICK, 0, 0);  // the shell cannot open "Details...": the page is told
        Pump();
        EXPECT_EQ(TheApp()->PageTemplate(kind)->GetDocuments().size(), before + 1) << id;
    }
    size_t all = AllDocuments();
    view->SendMessage(WM_LINK_CLICKED, 1214, 0);
    view->SendMessage(WM_LINK_CLICKED, s.checks[0], 0);
    EXPECT_EQ(AllDocuments(), all);
}

TEST_P(SummaryPage, ARowsEraseClearsOnlyItsTraceAndEraseNowExactlyTheCheckedRowsWithOneReport) {
    const Summary& s = *GetParam();
    ASSERT_NE(Open(s), nullptr);
    std::vector<SeenDialog> boxes = EraseWith(s.eraseNow);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, CErasingSummaryView::kNothingChecked);

    for (const Category& row : *s.rows) {  // each row's own erase, whatever is checked
        SCOPED_TRACE(row.key);
        SeedAll(s);
        for (const Category& c : *s.rows) SetCheck(c.check, &c != &row);
        boxes = EraseWith(row.erase);
        for (const Category& c : *s.rows) {
            EXPECT_EQ(c.traced(), &c != &row) << c.key;
            EXPECT_TRUE(c.kept()) << c.key;
        }
        ASSERT_FALSE(boxes.empty());
        std::vector<std::wstring> report = Lines(boxes[0].text);
        ASSERT_EQ(report.size(), 3u) << boxes[0].text;  // the row's line, a blank, the time taken
        EXPECT_EQ(report[0].rfind(Heading(row.key) + L" (", 0), 0u) << report[0];
        EXPECT_EQ(report[0].find(L"not erased"), std::wstring::npos) << report[0];
        // Only the registry traces' row offers the log-off, once, after the report.
        EXPECT_EQ(LogOffPrompts(boxes), std::string(row.key) == "system.registry-traces" ? 1u : 0u);
        EXPECT_EQ(boxes.size(), 1 + LogOffPrompts(boxes));
    }

    SeedAll(s);
    std::vector<std::wstring> expected, headings;
    for (size_t i = 0; i < s.rows->size(); ++i) {  // every other row, the log-off's among them
        SetCheck((*s.rows)[i].check, i % 2);
        if (i % 2) expected.push_back(Heading((*s.rows)[i].key));
    }
    for (int id : s.noErase) EXPECT_FALSE(::IsWindowEnabled(Item(id)));
    boxes = EraseWith(s.eraseNow);
    for (size_t i = 0; i < s.rows->size(); ++i) {
        EXPECT_EQ((*s.rows)[i].traced(), i % 2 == 0) << (*s.rows)[i].key;
        EXPECT_TRUE((*s.rows)[i].kept()) << (*s.rows)[i].key;
    }
    ASSERT_FALSE(boxes.empty());
    for (const std::wstring& l : Lines(boxes[0].text))
        if (!l.empty() && l.rfind(L"Time taken", 0) != 0) headings.push_back(l.substr(0, l.find(L" (")));
    EXPECT_EQ(headings, expected);
    EXPECT_EQ(LogOffPrompts(boxes), &s == &kSystem ? 1u : 0u);
    EXPECT_TRUE(::IsWindowEnabled(Item(s.eraseNow)));
    for (int id : s.noErase) EXPECT_FALSE(::IsWindowEnabled(Item(id)));
}

INSTANTIATE_TEST_SUITE_P(Both, SummaryPage, ::testing::Values(&kSystem, &kApplications),
                         [](const ::testing::TestParamInfo<const Summary*>& info) { std::wstring n = info.param->name; return std::string(n.begin(), n.end()); });

TEST_F(SummaryErase, ACategoryThatFailsIsReportedAndTheOthersStillRun) {
    SeedAll(kSystem);
    ASSERT_NE(Open(kSystem), nullptr);
    for (int id : {IDC_SYSTEM_CHECK_ADMINTEMP, IDC_SYSTEM_CHECK_SYSREG, IDC_SYSTEM_CHECK_CLIPBOARD}) SetCheck(id, true);
    HANDLE held = ::CreateFileW(Scratch(L"temp\\trace.tmp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<SeenDialog> boxes;
    {
        LockedKey lock(kRunKey);
        ASSERT_TRUE(lock.Locked());
        boxes = EraseWith(kSystem.eraseNow);
    }
    ::CloseHandle(held);
    ASSERT_FALSE(boxes.empty());
    std::vector<std::wstring> lines = Lines(boxes[0].text);
    ASSERT_EQ(lines.size(), 5u) << boxes[0].text;
    EXPECT_NE(lines[0].find(L"; 1 not erased: "), std::wstring::npos) << lines[0];  // the file in use
    EXPECT_NE(lines[1].find(L"1 item erased"), std::wstring::npos) << lines[1];     // the clipboard
    EXPECT_NE(lines[2].find(L" not erased: "), std::wstring::npos) << lines[2];     // the locked Run list
    EXPECT_FALSE(kSystemRows[1].traced());
    EXPECT_TRUE(kSystemRows[0].traced() && kSystemRows[7].traced());
}

TEST_F(SummaryErase, APageClosedDuringItsEraseOrUnderItsReportIsLeftAlone) {
    SeedAll(kSystem);
    ASSERT_NE(Open(kSystem), nullptr);
    // Closed before the worker can answer: no report comes, and the next erase still runs.
    {
        DialogAnswerer boxes(kCaption, IDCANCEL);
        view->GetParentFrame()->PostMessage(WM_CLOSE);
        Press(IDC_SYSTEM_ERASE_RECENTDOC);
        ASSERT_NE(Open(kSystem), nullptr);
        Press(IDC_SYSTEM_ERASE_EVENTLOG);
        ASSERT_TRUE(PumpUntil([&] { return !view->Erasing(); }, 20000));
        ASSERT_EQ(boxes.Count(), 1u);
        EXPECT_EQ(boxes.Seen()[0].text.rfind(Heading("system.event-log") + L" (", 0), 0u) << boxes.Seen()[0].text;
    }
    HWND page = view->m_hWnd;
    std::wstring report;
    bool ran = WithModalDialog(kCaption, [&](HWND box) {
        report = TextOf(::GetDlgItem(box, 0xFFFF));
        for (int id : {IDC_SYSTEM_ERASE_NOW, IDC_SYSTEM_ERASE_CLIPBOARD, IDC_SYSTEM_SELECTALL, IDC_SYSTEM_DETAILS_CLIPBOARD})
            EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(page, id))) << id;
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(page, IDC_SYSTEM_CHECK_CLIPBOARD)));
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        Click(box, IDOK);
    }, [&] {
        Press(IDC_SYSTEM_ERASE_CLIPBOARD);
        PumpUntil([&] { return !::IsWindow(page); }, 20000);
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(report.rfind(Heading("system.clipboard") + L" (", 0), 0u) << report;
    EXPECT_TRUE(TheApp()->PageTemplate(pages::kSystem)->GetDocuments().empty());
}

TEST(EraseReport, ALinePerCategoryWithBytesOnlyWhereFilesWentAndTheFirstReason) {
    engine::Result bin, run, none;
    bin.erased = 3, bin.bytes = 2048, run.erased = 1;
    bin.Failed(L"in use");
    bin.Failed(L"later reason");
    std::vector<std::wstring> lines =
        Lines(engine::ReportText({{L"Recycle Bin", bin, 40}, {L"Run", run, 1500}, {L"Clipboard Content", none, 0}}));
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"Recycle Bin (40 ms): 3 items erased (2.00 KB); 2 not erased: in use",
                                               L"Run (1.5 s): 1 item erased", L"Clipboard Content (0 ms): nothing to erase.", L"",
                                               L"Time taken: 1.5 s."}));
}
