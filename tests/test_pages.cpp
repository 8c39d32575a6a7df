// Every page opens through its template with its caption, the controls it binds and its look.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "LastChosenText.h"
#include "PageFrames.h"
#include "PageLook.h"
#include "TestKit.h"
#include "applications/RecentFileListPages.h"
#include "internet/PopupBlockerVw.h"
#include "resource.h"

using namespace testkit;

namespace {
struct PageRow {
    PageId page;
    const char* caption;  // null: the untitled default
    std::vector<std::pair<int, const char*>> controls;  // id and window class
};

// What each page's dialog must hold: the title and text statics, the item control and buttons.
const std::vector<PageRow> kPages = {
    {PageId::Recycle, "Recycle Bin", {{1008, "SysTreeView32"}, {1108, "Static"}, {1109, "Static"}, {1000, "Button"}}},
    {PageId::SystemRegistry, "System Registry Traces", {{1007, "SysTreeView32"}, {1106, "Static"}, {1105, "Static"}, {1000, "Button"}}},
    {PageId::MMConsole, "Microsoft Management Console", {{1252, "SysListView32"}, {1181, "Static"}, {1170, "Static"}, {1182, "Button"}, {1183, "Button"}, {1253, "Button"}}},
    {PageId::MediaPlayer, "Media Player", {{1015, "SysListView32"}, {1179, "Static"}, {1180, "Static"}, {1001, "Button"}, {1000, "Button"}, {1248, "Button"}}},
    {PageId::Paint, "Paint", {{1014, "SysListView32"}, {1178, "Static"}, {1164, "Static"}, {1000, "Button"}, {1001, "Button"}, {1247, "Button"}}},
    {PageId::RecentDocuments, "Recent Documents", {{1008, "SysTreeView32"}, {1114, "Static"}, {1115, "Static"}, {1000, "Button"}}},
    {PageId::TypedUrls, "Typed URL", {{1001, "ListBox"}, {1103, "Static"}, {1104, "Static"}, {1241, "Button"}}},
    {PageId::Cookies, "Cookies", {{1013, "SysTreeView32"}, {1100, "Static"}, {1084, "Static"}, {1000, "Button"}}},
    {PageId::History, "History", {{1242, "SysListView32"}, {1101, "Static"}, {1102, "Static"}, {1000, "Button"}}},
    {PageId::Clipboard, "ClipBoard Content", {{1018, "Edit"}, {1133, "Static"}, {1136, "Static"}, {1257, "Button"}}},
    {PageId::EventLog, "Event Log", {{1001, "SysListView32"}, {1150, "Static"}, {1140, "Static"}, {1053, "Button"}}},
    {PageId::UnusedSpace, "Veduva123", {{1230, "Static"}, {1057, "Static"}, {1229, "Static"}, {1233, "Button"}, {1001, "Button"}, {1071, "Button"}, {1072, "Button"}, {1234, "Static"}, {1235, "Static"}, {1236, "Static"}, {1237, "Static"}, {1238, "Static"}}},
    {PageId::Drives, "Z: [label for the drives page]", {{1232, "Static"}, {1073, "Static"}, {1063, "Static"}, {1087, "Button"}, {1074, "Static"}, {1067, "Static"}, {1072, "Static"}, {1069, "Static"}, {1053, "Button"}}},
    {PageId::WordPad, "Word Pad", {{1250, "SysListView32"}, {1184, "Static"}, {1185, "Static"}, {1000, "Button"}, {1021, "Button"}, {1251, "Button"}}},
    {PageId::TempInternetFiles, "Temporary Internet Files", {{1038, "SysListView32"}, {1098, "Static"}, {1099, "Static"}, {1243, "Button"}}},
    {PageId::OpenFileHistory, "Open File History", {{1039, "SysListView32"}, {1112, "Static"}, {1149, "Static"}}},
    {PageId::MfuRegistry, nullptr, {{1040, "SysListView32"}, {1194, "Static"}, {1195, "Static"}, {1000, "Button"}}},
    {PageId::Internet, "Internet", {{1223, "Static"}, {1077, "Static"}, {1078, "Static"}, {1079, "Static"}, {1011, "Static"}, {1085, "Static"}, {1089, "Static"}, {1095, "Button"}, {1096, "Button"}, {1275, "Button"}, {1090, "Button"}, {1273, "Button"}, {1083, "Button"}, {1000, "Button"}, {1274, "Button"}, {1217, "Button"}, {1218, "Button"}, {1219, "Button"}, {1220, "Button"}, {1072, "Button"}, {1093, "Button"}, {1094, "Button"}}},
    {PageId::System, "System", {{1224, "Static"}, {1110, "Static"}, {1111, "Static"}, {1000, "Button"}, {1145, "Button"}, {1146, "Button"}, {1196, "Button"}, {1205, "Button"}, {1122, "Button"}, {1052, "Button"}, {1035, "Button"}, {1147, "Button"}, {1148, "Button"}}},
    {PageId::AdminTempFiles, "Administrator's Temporary Files", {{1055, "SysListView32"}, {1121, "Static"}, {1124, "Static"}, {1263, "Button"}}},
    {PageId::SysTempFiles, "System Temporary Files", {{1058, "SysListView32"}, {1125, "Static"}, {1128, "Static"}, {1000, "Button"}}},
    {PageId::RecentNetworkFolder, "Recent Network Folder", {{1054, "SysListView32"}, {1141, "Static"}, {1144, "Static"}, {1000, "Button"}}},
    {PageId::ApplicationTraces, "Application Traces", {{1227, "Static"}, {1151, "Static"}, {1152, "Static"}, {1143, "Button"}, {1176, "Button"}, {1177, "Button"}, {1206, "Button"}, {1216, "Button"}, {1086, "Button"}, {1174, "Button"}}},
    {PageId::Acrobat, "Acrobat Reader", {{1001, "SysListView32"}, {1157, "Static"}, {1186, "Static"}, {1000, "Button"}, {1053, "Button"}, {1087, "Button"}}},
    {PageId::Access, "Microsoft Access", {{1062, "SysListView32"}, {1153, "Static"}, {1154, "Static"}, {1053, "Button"}, {1087, "Button"}, {1244, "Button"}}},
    {PageId::Excel, "Microsoft Excel", {{1034, "SysListView32"}, {1155, "Static"}, {1156, "Static"}, {1000, "Button"}, {1059, "Button"}, {1245, "Button"}}},
    {PageId::PowerPoint, "Microsoft Power Point", {{1060, "SysListView32"}, {1072, "Static"}, {1158, "Static"}, {1000, "Button"}, {1061, "Button"}, {1246, "Button"}}},
    {PageId::Word, "Microsoft Word", {{1001, "SysListView32"}, {1159, "Static"}, {1161, "Static"}, {1000, "Button"}, {1053, "Button"}, {1087, "Button"}}},
    {PageId::WinZip, "WinZip", {{1023, "SysListView32"}, {1187, "Static"}, {1188, "Static"}, {1254, "Button"}, {1255, "Button"}, {1256, "Button"}}},
    {PageId::WipeList, nullptr, {{1189, "Static"}, {1190, "Static"}, {1191, "Static"}, {1192, "Static"}, {1193, "Static"}}},
};

std::string ClassOf(HWND h) {
    char cls[64] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    return cls;
}

struct PageFixture : ::testing::Test {
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }
    CPageView* Open(PageId page) {
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
    std::string font;  // face and height, width, weight; empty when none was chosen
};

std::string FontText(HFONT font) {
    LOGFONTA f{};
    ::GetObjectA(font, sizeof f, &f);
    return std::string(f.lfFaceName) + " " + std::to_string(f.lfHeight) + "/" + std::to_string(f.lfWidth) + "/" +
           std::to_string(f.lfWeight);
}

CtlColourAnswer AskColours(CWnd* view, HWND control) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ initialFont = ::GetCurrentObject(dc, OBJ_FONT);
    LRESULT brush = view->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    LOGBRUSH lb{};
    ::GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
    CtlColourAnswer a{lb.lbColor, ::GetBkColor(dc), ::GetBkMode(dc), {}};
    HGDIOBJ font = ::GetCurrentObject(dc, OBJ_FONT);
    if (font != initialFont) a.font = FontText(static_cast<HFONT>(font));
    ::DeleteDC(dc);
    return a;
}
}  // namespace

TEST_F(PageFixture, EveryTemplateOpensAPageWithItsCaptionAndControls) {
    LastChosenText() = "Z: [label for the drives page]";
    for (const PageRow& row : kPages) {
        SCOPED_TRACE(row.caption ? row.caption : "untitled");
        CPageView* view = Open(row.page);
        ASSERT_NE(view, nullptr);
        CFrameWnd* frame = view->GetParentFrame();
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->IsWindowVisible());
        EXPECT_EQ(frame->GetWindowText(), row.caption ? row.caption : "Untitled");
        for (auto [id, cls] : row.controls) EXPECT_EQ(ClassOf(::GetDlgItem(view->m_hWnd, id)), cls) << id;
    }
}

TEST_F(PageFixture, TheDrivesCaptionFollowsTheLastChosenTextAtEachDrawing) {
    CPageView* view = Open(PageId::Drives);
    ASSERT_NE(view, nullptr);
    LastChosenText() = "History";
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(view->GetParentFrame()->GetWindowText(), "History");
}

TEST_F(PageFixture, BackgroundsAreDrawnInThePageColourToTheLastRow) {
    struct Case { PageId page; COLORREF colour; } cases[] = {{PageId::TypedUrls, look::kPageColour},
                 {PageId::Internet, look::kWhite},
                 {PageId::Drives, look::kWhite},
                 {PageId::WipeList, look::kWipeListGrey}};
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
    struct Case { PageId page; int id; COLORREF colour; const char* font; } cases[] = {
        // Summaries set white first, then the page colour for headings: the later rule wins.
        {PageId::Internet, IDC_INTERNET_HEADING_COOKIES, look::kPageColour, "Arial Rounded MT Bold 20/7/24"},
        {PageId::Internet, IDC_INTERNET_DESC_COOKIES, look::kWhite, "Georgia 14/7/20"},
        {PageId::TypedUrls, IDC_TYPEDURL_TITLE, look::kPageColour, "Arial Rounded MT Bold 22/9/24"},
        {PageId::TypedUrls, IDC_TYPEDURL_TEXT, look::kPageColour, "Georgia 16/7/24"},
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
        EXPECT_EQ(FontText(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0))), c.font);
    }
    // The group box round the list and the picture of the last page keep the system's look.
    int others = 0;
    for (HWND c = ::GetWindow(view->m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(c) != -1 && ::GetDlgCtrlID(c) != 0xFFFF) continue;
        CtlColourAnswer a = AskColours(view, c);
        EXPECT_NE(a.brush, look::kPageColour);
        EXPECT_EQ(a.font, "");  // no font chosen for it
        ++others;
    }
    EXPECT_GE(others, 2);
}

TEST_F(PageFixture, SelectAllAndClearAllCheckEveryRowAndIgnoreAnEmptyList) {
    auto* view = dynamic_cast<CRecentFileListView*>(Open(PageId::WordPad));
    ASSERT_NE(view, nullptr);
    auto press = [&](int id) { view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
    press(IDC_WORDPAD_SELECTALL);  // empty: nothing to do, no message
    view->m_list.SetExtendedStyle(LVS_EX_CHECKBOXES);
    for (int i = 0; i < 3; ++i) view->m_list.InsertItem(i, "C:\\file" + std::to_string(i) + ".txt");
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
