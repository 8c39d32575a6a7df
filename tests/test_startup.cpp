// Start-up: the application object registers a template per page, makes the main window and the
// hidden introduction page, and carries the application-wide commands. The introduction page's
// view: its statics, their colours and fonts, its caption and printing.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "Pages.h"
#include "TidemarkView.h"
#include "resource.h"

using namespace testkit;

namespace {
void Command(UINT id) { AfxGetMainWnd()->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
const COLORREF kPage = RGB(208, 231, 247), kWhite = RGB(255, 255, 255);

std::vector<HWND> Children(CWnd* view, bool pictures) {
    std::vector<HWND> found;
    for (HWND c = ::GetWindow(view->m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (((::GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) == pictures) found.push_back(c);
    return found;
}
}  // namespace

TEST(Startup, ShowsTheMainWindowWithATemplatePerPageAddsHiddenIntroductionPagesOpensAboutAndFindsProgramFiles) {
    CTidemarkApp* app = StartApp();
    ASSERT_EQ(app->GetDocTemplates().size(), pages::Rows().size() + 1);
    auto* main = dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->IsWindowVisible());
    EXPECT_EQ(main->MDIGetActive(), nullptr);  // nothing visible is active in the client area
    auto* intro = static_cast<CMultiDocTemplate*>(app->GetDocTemplates().front());
    auto docs = intro->GetDocuments();
    ASSERT_GE(docs.size(), 1u);
    EXPECT_EQ(docs.front()->GetTitle(), L"Tidema1");
    unsigned next = intro->m_nUntitledCount + 1;
    Command(ID_FILE_NEW);
    Command(ID_START_PAGE);
    ASSERT_EQ(intro->GetDocuments().size(), docs.size() + 2);
    EXPECT_EQ(intro->GetDocuments().back()->GetTitle(), L"Tidema" + std::to_wstring(next + 1));
    for (CDocument* doc : intro->GetDocuments()) EXPECT_FALSE(FrameOf(doc)->IsWindowVisible()) << doc->GetTitle();
    EXPECT_EQ(main->GetWindowText(), L"Corvane-Sweepmere");
    size_t all = DocumentCount();
    Command(ID_DATA_WIPE);
    EXPECT_EQ(DocumentCount(), all);
    // The profile's key carries the application's name (message boxes carry it too: the
    // scheduler's "Time not set!"), and About carries the program's.
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Local AppWizard-Generated Applications\\Application"));
    DialogAnswerer about(L"About Corvane-Sweepmere", IDC_ABOUT_OK);
    Command(ID_APP_ABOUT);
    EXPECT_EQ(about.Count(), 1u);

    // Help looks in the program files folder, expanded; without it, in none.
    const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion";
    wchar_t buf[260] = L"junk";
    RegSetBinary(HKEY_LOCAL_MACHINE, key, L"ProgramFilesPath", L"%SystemDrive%\\Apps", 19 * sizeof(wchar_t), REG_EXPAND_SZ);
    GetProgramFilesPath(buf, ARRAYSIZE(buf));
    EXPECT_STREQ(buf, L"C:\\Apps");
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, L"ProgramFilesPath");
    GetProgramFilesPath(buf, ARRAYSIZE(buf));
    EXPECT_STREQ(buf, L"");
}

TEST(IntroView, LabelsCarryTheirTextsAndColoursDrawingNamesThePageAndPrintCommandsAreItsOwn) {
    auto docs = StartApp()->GetDocTemplates().front()->GetDocuments();  // the introduction pages
    auto* view = docs.empty() ? nullptr : dynamic_cast<CTidemarkView*>(ViewOf(docs.front()));
    ASSERT_NE(view, nullptr);
    // The band at the top, the title, the lead and the items, known by the beginnings of their texts.
    const wchar_t* starts[] = {L"", L"Corvane-Sweepmere", L"Corvane-Sweepmere allows you", L"  Using this program",
                               L"Cookies : ", L"History : ", L"Temporary internet files : ", L"Typed URL's : "};
    std::vector<HWND> labels = Children(view, false);
    ASSERT_EQ(labels.size(), std::size(starts));
    EXPECT_FALSE(::IsWindowEnabled(labels[0])) << L"the white band at the top";
    for (size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(TextOf(labels[i]).rfind(starts[i], 0), 0u) << TextOf(labels[i]);
    // The band, the title and an item: their own colour behind black text, in their own size of one
    // face. (The statics paint with what they are answered.)
    for (auto [i, colour, size] : {std::tuple{0, kWhite, L"16"}, {1, kPage, L"36"}, {4, kWhite, L"16"}}) {
        CtlColours c = AskColours(view, labels[i]);
        EXPECT_EQ((std::vector<COLORREF>{c.brush, c.background, c.text}), (std::vector<COLORREF>{colour, colour, 0})) << i;
        EXPECT_EQ(c.font.rfind(std::wstring(L"Thoma ") + size + L"/", 0), 0u) << c.font;
    }
    std::vector<HWND> pictures = Children(view, true);
    EXPECT_FALSE(pictures.empty());
    for (HWND h : pictures) EXPECT_NE(::SendMessageW(h, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << L"the picture is loaded";
    view->SendMessage(WM_PAINT);  // drawing names the page, also in its frame that never shows
    EXPECT_EQ(view->GetDocument()->GetTitle(), L"Vivazo");

    // Print commands belong to the view, which is never active.
    for (UINT id : {ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW}) {
        AFX_CMDHANDLERINFO info;
        EXPECT_TRUE(view->OnCmdMsg(id, CN_COMMAND, nullptr, &info) && info.pTarget == view) << id;
    }
    // Preview goes through the print dialog; cancelled, it prints nothing. (With no printer the
    // system first says so, in a box of the same caption.)
    DialogAnswerer printDialog(L"Print", IDCANCEL);
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    EXPECT_GE(printDialog.Count(), 1u);
}
