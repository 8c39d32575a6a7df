// Start-up: the application object registers a template per page, makes the main window and the
// hidden introduction page, and carries the application-wide commands.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "Pages.h"
#include "resource.h"

using namespace testkit;

namespace {
void Command(UINT id) { AfxGetMainWnd()->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
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
