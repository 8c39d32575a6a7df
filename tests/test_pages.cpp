// Every page opens through its template with its caption, the controls it binds and its look.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "AppHarness.h"
#include "Categories.h"
#include "CategoryTree.h"
#include "LastChosenText.h"
#include "PageFrames.h"
#include "PageLook.h"
#include "SummaryPage.h"
#include "Pages.h"
#include "TestKit.h"
#include "applications/RecentFileListPages.h"
#include "internet/PopupBlockerVw.h"
#include "resource.h"

using namespace testkit;

namespace {
struct PageRow {
    const char* page;
    const wchar_t* caption;  // null: the untitled default
    std::vector<std::pair<int, const wchar_t*>> controls;  // id and window class
};

// What each page's dialog must hold: the title and text statics, the item control and buttons.
const std::vector<PageRow> kPages = {
    {"system.recycle-bin", L"Recycle Bin", {{1008, L"SysTreeView32"}, {1108, L"Static"}, {1109, L"Static"}, {1000, L"Button"}}},
    {"system.registry-traces", L"System Registry Traces", {{1007, L"SysTreeView32"}, {1106, L"Static"}, {1105, L"Static"}, {1000, L"Button"}}},
    {"apps.mmc", L"Microsoft Management Console", {{1252, L"SysListView32"}, {1181, L"Static"}, {1170, L"Static"}, {1182, L"Button"}, {1183, L"Button"}, {1253, L"Button"}}},
    {"apps.media-player", L"Media Player", {{1015, L"SysListView32"}, {1179, L"Static"}, {1180, L"Static"}, {1001, L"Button"}, {1000, L"Button"}, {1248, L"Button"}}},
    {"apps.paint", L"Paint", {{1014, L"SysListView32"}, {1178, L"Static"}, {1164, L"Static"}, {1000, L"Button"}, {1001, L"Button"}, {1247, L"Button"}}},
    {"system.recent-documents", L"Recent Documents", {{1008, L"SysTreeView32"}, {1114, L"Static"}, {1115, L"Static"}, {1000, L"Button"}}},
    {"internet.typed-urls", L"Typed URL", {{1001, L"ListBox"}, {1103, L"Static"}, {1104, L"Static"}, {1241, L"Button"}}},
    {"internet.cookies", L"Cookies", {{1013, L"SysTreeView32"}, {1100, L"Static"}, {1084, L"Static"}, {1000, L"Button"}}},
    {"internet.history", L"History", {{1242, L"SysListView32"}, {1101, L"Static"}, {1102, L"Static"}, {1000, L"Button"}}},
    {"system.clipboard", L"ClipBoard Content", {{1018, L"Edit"}, {1133, L"Static"}, {1136, L"Static"}, {1257, L"Button"}}},
    {"system.event-log", L"Event Log", {{1001, L"SysListView32"}, {1150, L"Static"}, {1140, L"Static"}, {1053, L"Button"}}},
    {pages::kUnusedSpace, L"Veduva123", {{1230, L"Static"}, {1057, L"Static"}, {1229, L"Static"}, {1233, L"Button"}, {1001, L"Button"}, {1071, L"Button"}, {1072, L"Button"}, {1234, L"Static"}, {1235, L"Static"}, {1236, L"Static"}, {1237, L"Static"}, {1238, L"Static"}}},
    {pages::kDrives, L"Z: [label for the drives page]", {{1232, L"Static"}, {1073, L"Static"}, {1063, L"Static"}, {1087, L"Button"}, {1074, L"Static"}, {1067, L"Static"}, {1072, L"Static"}, {1069, L"Static"}, {1053, L"Button"}}},
    {"apps.wordpad", L"Word Pad", {{1250, L"SysListView32"}, {1184, L"Static"}, {1185, L"Static"}, {1000, L"Button"}, {1021, L"Button"}, {1251, L"Button"}}},
    {"internet.cache", L"Temporary Internet Files", {{1038, L"SysListView32"}, {1098, L"Static"}, {1099, L"Static"}, {1243, L"Button"}}},
    {"system.open-file-history", L"Open File History", {{1039, L"SysListView32"}, {1112, L"Static"}, {1149, L"Static"}}},
    {"system.mfu", nullptr, {{1040, L"SysListView32"}, {1194, L"Static"}, {1195, L"Static"}, {1000, L"Button"}}},
    {pages::kInternet, L"Internet", {{1223, L"Static"}, {1077, L"Static"}, {1078, L"Static"}, {1079, L"Static"}, {1011, L"Static"}, {1085, L"Static"}, {1089, L"Static"}, {1095, L"Button"}, {1096, L"Button"}, {1275, L"Button"}, {1090, L"Button"}, {1273, L"Button"}, {1083, L"Button"}, {1000, L"Button"}, {1274, L"Button"}, {1217, L"Button"}, {1218, L"Button"}, {1219, L"Button"}, {1220, L"Button"}, {1072, L"Button"}, {1093, L"Button"}, {1094, L"Button"}}},
    {pages::kSystem, L"System", {{1224, L"Static"}, {1110, L"Static"}, {1111, L"Static"}, {1000, L"Button"}, {1145, L"Button"}, {1146, L"Button"}, {1196, L"Button"}, {1205, L"Button"}, {1122, L"Button"}, {1052, L"Button"}, {1035, L"Button"}, {1147, L"Button"}, {1148, L"Button"}}},
    {"system.user-temp", L"Administrator's Temporary Files", {{1055, L"SysListView32"}, {1121, L"Static"}, {1124, L"Static"}, {1263, L"Button"}}},
    {"system.windows-temp", L"System Temporary Files", {{1058, L"SysListView32"}, {1125, L"Static"}, {1128, L"Static"}, {1000, L"Button"}}},
    {"system.network-places", L"Recent Network Folder", {{1054, L"SysListView32"}, {1141, L"Static"}, {1144, L"Static"}, {1000, L"Button"}}},
    {pages::kApplications, L"Application Traces", {{1227, L"Static"}, {1151, L"Static"}, {1152, L"Static"}, {1143, L"Button"}, {1176, L"Button"}, {1177, L"Button"}, {1206, L"Button"}, {1216, L"Button"}, {1086, L"Button"}, {1174, L"Button"}}},
    {"apps.acrobat", L"Acrobat Reader", {{1001, L"SysListView32"}, {1157, L"Static"}, {1186, L"Static"}, {1000, L"Button"}, {1053, L"Button"}, {1087, L"Button"}}},
    {"apps.access", L"Microsoft Access", {{1062, L"SysListView32"}, {1153, L"Static"}, {1154, L"Static"}, {1053, L"Button"}, {1087, L"Button"}, {1244, L"Button"}}},
    {"apps.excel", L"Microsoft Excel", {{1034, L"SysListView32"}, {1155, L"Static"}, {1156, L"Static"}, {1000, L"Button"}, {1059, L"Button"}, {1245, L"Button"}}},
    {"apps.powerpoint", L"Microsoft Power Point", {{1060, L"SysListView32"}, {1072, L"Static"}, {1158, L"Static"}, {1000, L"Button"}, {1061, L"Button"}, {1246, L"Button"}}},
    {"apps.word", L"Microsoft Word", {{1001, L"SysListView32"}, {1159, L"Static"}, {1161, L"Static"}, {1000, L"Button"}, {1053, L"Button"}, {1087, L"Button"}}},
    {"apps.winzip", L"WinZip", {{1023, L"SysListView32"}, {1187, L"Static"}, {1188, L"Static"}, {1254, L"Button"}, {1255, L"Button"}, {1256, L"Button"}}},
    {pages::kWipeList, nullptr, {{1189, L"Static"}, {1190, L"Static"}, {1191, L"Static"}, {1192, L"Static"}, {1193, L"Static"}, {1300, L"ComboBox"}, {1301, L"SysListView32"}, {1302, L"Button"}, {1303, L"Button"}, {1304, L"Button"}, {1305, L"Button"}, {1306, L"Button"}, {1307, L"Button"}, {1308, L"Button"}, {1309, L"Button"}, {1310, L"Button"}}},
};

std::wstring ClassOf(HWND h) {
    wchar_t cls[64] = L"";
    ::GetClassNameW(h, cls, ARRAYSIZE(cls));
    return cls;
}

struct PageFixture : ::testing::Test {
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }
    CPageView* Open(const char* page) {
        CDocument* doc = TheApp()->OpenPage(page);
        auto* view = doc ? dynamic_cast<CPageView*>(ViewOf(doc)) : nullptr;
        if (view) view->UpdateWindow();  // drawing sets the caption
        return view;
    }
};

// What a page answers when a control asks for its colours: the brush, the DC's colours and font.
struct CtlColourAnswer {
    COLORREF brush, background;
    int mode;
    std::wstring font;  // face and height, width, weight; empty when none was chosen
};

std::wstring FontText(HFONT font) {
    LOGFONTW f{};
    ::GetObjectW(font, sizeof f, &f);
    return std::wstring(f.lfFaceName) + L" " + std::to_wstring(f.lfHeight) + L"/" + std::to_wstring(f.lfWidth) + L"/" +
           std::to_wstring(f.lfWeight);
}

CtlColourAnswer AskColours(CWnd* view, HWND control) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ initialFont = ::GetCurrentObject(dc, OBJ_FONT);
    LRESULT brush = view->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    LOGBRUSH lb{};
    ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
    CtlColourAnswer a{lb.lbColor, ::GetBkColor(dc), ::GetBkMode(dc), {}};
    HGDIOBJ font = ::GetCurrentObject(dc, OBJ_FONT);
    if (font != initialFont) a.font = FontText(static_cast<HFONT>(font));
    ::DeleteDC(dc);
    return a;
}
}  // namespace

TEST_F(PageFixture, EveryTemplateOpensAPageWithItsCaptionAndControls) {
    LastChosenText() = L"Z: [label for the drives page]";
    for (const PageRow& row : kPages) {
        SCOPED_TRACE(row.caption ? row.caption : L"untitled");
        CPageView* view = Open(row.page);
        ASSERT_NE(view, nullptr);
        CFrameWnd* frame = view->GetParentFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->IsWindowVisible());
        EXPECT_EQ(frame->GetWindowText(), row.caption ? row.caption : L"Untitled");
        for (auto [id, cls] : row.controls) EXPECT_EQ(ClassOf(::GetDlgItem(view->m_hWnd, id)), cls) << id;
    }
}

// The page table against the category table: every category but a browser's (rows of the Web
// Browsers page) has its page, every summary row names a category of its summary's group once,
// and every page has a template of its resources and an icon of the tree.
TEST_F(PageFixture, ThePageTableAgreesWithTheCategoriesSummariesTemplatesAndIcons) {
    const std::map<std::string, const char*> summaries{
        {"internet", pages::kInternet}, {"system", pages::kSystem}, {"apps", pages::kApplications}};
    for (const auto& [group, page] : summaries) {
        auto* view = dynamic_cast<CSummaryView*>(Open(page));
        ASSERT_NE(view, nullptr) << page;
        std::set<std::string> keys;
        for (const SummaryRow& r : view->Face().rows) {
            const engine::Category* c = engine::FindCategory(r.key);
            EXPECT_TRUE(c && c->group == group) << r.key;
            EXPECT_TRUE(keys.insert(r.key).second) << r.key;
        }
    }
    for (const engine::Category& c : engine::Categories())
        EXPECT_TRUE(c.group == "browsers" || pages::Find(c.key)) << c.key;
    for (const pages::PageRow& row : pages::Rows()) {
        CMultiDocTemplate* t = TheApp()->PageTemplate(row.key);
        ASSERT_NE(t, nullptr) << row.key;
        EXPECT_EQ(t->m_nIDResource, row.resourceId) << row.key;
        EXPECT_NE(::FindResourceW(nullptr, MAKEINTRESOURCEW(row.resourceId), RT_GROUP_ICON), nullptr) << row.key;
        EXPECT_NE(CCategoryTree::ImageOf(pages::IconOf(row)), -1) << row.key;
        EXPECT_EQ(pages::TextOf(row).empty(), row.key == std::string(pages::kDrives)) << row.key;
    }
}

TEST_F(PageFixture, TheDrivesCaptionFollowsTheLastChosenTextAtEachDrawing) {
    CPageView* view = Open(pages::kDrives);
    ASSERT_NE(view, nullptr);
    LastChosenText() = L"History";
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(view->GetParentFrame()->GetWindowText(), L"History");
}

TEST_F(PageFixture, BackgroundsAreDrawnInThePageColourToTheLastRow) {
    struct Case { const char* page; COLORREF colour; } cases[] = {{"internet.typed-urls", look::kPageColour},
                 {pages::kInternet, look::kWhite},
                 {pages::kDrives, look::kWhite},
                 {pages::kWipeList, look::kWipeListGrey}};
    for (const Case& c : cases) {
        CPageView* view = Open(c.page);
        ASSERT_NE(view, nullptr);
        view->GetParentFrame()->MoveWindow(0, 0, 500, 377);
        CRect r;
        view->GetClientRect(&r);
        EXPECT_EQ(ErasedPixel(view, 3, 3), c.colour);
        EXPECT_EQ(ErasedPixel(view, r.Width() - 1, r.Height()), c.colour);  // the row at the height too
    }
}

TEST_F(PageFixture, TextStaticsAskForTheirColourAndFontAndTheOthersKeepTheSystemOnes) {
    struct Case { const char* page; int id; COLORREF colour; const wchar_t* font; } cases[] = {
        // Summaries set white first, then the page colour for headings: the later rule wins.
        {pages::kInternet, IDC_INTERNET_HEADING_COOKIES, look::kPageColour, L"Arial Rounded MT Bold 20/7/24"},
        {pages::kInternet, IDC_INTERNET_DESC_COOKIES, look::kWhite, L"Georgia 14/7/20"},
        {"internet.typed-urls", IDC_TYPEDURL_TITLE, look::kPageColour, L"Arial Rounded MT Bold 22/9/24"},
        {"internet.typed-urls", IDC_TYPEDURL_TEXT, look::kPageColour, L"Georgia 16/7/24"},
    };
    CPageView* view = nullptr;
    for (const Case& c : cases) {
        view = Open(c.page);
        ASSERT_NE(view, nullptr);
        HWND control = ::GetDlgItem(view->m_hWnd, c.id);
        CtlColourAnswer a = AskColours(view, control);
        EXPECT_EQ(a.brush, c.colour) << c.id;
        EXPECT_EQ(a.background, c.colour) << c.id;
        EXPECT_EQ(a.mode, OPAQUE) << c.id;
        EXPECT_EQ(a.font, c.font);
        EXPECT_EQ(FontText(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0))), c.font);
    }
    // The group box round the list and the picture of the last page keep the system's look.
    int others = 0;
    for (HWND c = ::GetWindow(view->m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(c) != -1 && ::GetDlgCtrlID(c) != 0xFFFF) continue;
        CtlColourAnswer a = AskColours(view, c);
        EXPECT_NE(a.brush, look::kPageColour);
        EXPECT_EQ(a.font, L"");  // no font chosen for it
        ++others;
    }
    EXPECT_GE(others, 2);
}

TEST_F(PageFixture, SelectAllAndClearAllCheckEveryRowAndIgnoreAnEmptyList) {
    auto* view = dynamic_cast<CRecentFileListView*>(Open("apps.wordpad"));
    ASSERT_NE(view, nullptr);
    auto press = [&](int id) { view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
    press(IDC_WORDPAD_SELECTALL);  // empty: nothing to do, no message
    view->m_list.SetExtendedStyle(LVS_EX_CHECKBOXES);
    for (int i = 0; i < 3; ++i) view->m_list.InsertItem(i, L"C:\\file" + std::to_wstring(i) + L".txt");
    press(IDC_WORDPAD_SELECTALL);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(view->m_list.GetCheck(i));
    press(IDC_WORDPAD_CLEARALL);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(view->m_list.GetCheck(i));
}

TEST(PopupBlocker, ClassesAreCreatableButNoTemplateOpensThem) {
    CTidemarkApp* app = StartApp();
    std::unique_ptr<CObject> frame(RUNTIME_CLASS(CPopupBlockerFrm)->CreateObject());
    std::unique_ptr<CObject> view(RUNTIME_CLASS(CPopupBlockerVw)->CreateObject());
    EXPECT_NE(dynamic_cast<CMDIChildWnd*>(frame.get()), nullptr);
    EXPECT_NE(dynamic_cast<CFormView*>(view.get()), nullptr);
    for (CDocTemplate* t : app->GetDocTemplates()) {
        EXPECT_NE(t->m_pViewClass, RUNTIME_CLASS(CPopupBlockerVw));
        EXPECT_NE(t->m_pFrameClass, RUNTIME_CLASS(CPopupBlockerFrm));
    }
}
