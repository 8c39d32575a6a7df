// Start-up: the application object registers its templates, makes the main window and the
// hidden introduction page, and carries the application-wide commands.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "Pages.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
void Command(UINT id) { AfxGetMainWnd()->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

size_t AllDocuments(CTidemarkApp* app) {
    size_t n = 0;
    for (CDocTemplate* t : app->GetDocTemplates()) n += t->GetDocuments().size();
    return n;
}
}  // namespace

TEST(Startup, RegistersTheTemplatesShowsTheMainWindowAndKeepsTheIntroductionHidden) {
    CTidemarkApp* app = StartApp();
    const auto& templates = app->GetDocTemplates();
    ASSERT_EQ(templates.size(), pages::Rows().size() + 1);
    EXPECT_EQ(templates[0]->m_nIDResource, 129u);
    // Only the introduction template has a menu and document strings of its own.
    for (size_t i = 0; i < templates.size(); ++i) EXPECT_EQ(templates[i]->m_hMenuShared != nullptr, i == 0) << i;
    std::wstring name;
    EXPECT_TRUE(templates[0]->GetDocString(name, CDocTemplate::fileNewName));
    EXPECT_EQ(name, L"Tidema");
    EXPECT_TRUE(templates[0]->GetDocString(name, CDocTemplate::regFileTypeName));
    EXPECT_EQ(name, L"Tidema Document");

    auto* main = dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->IsWindowVisible());
    EXPECT_EQ(main->GetWindowText(), L"Corvane-Sweepmere");
    auto docs = app->GetDocTemplates().front()->GetDocuments();
    ASSERT_GE(docs.size(), 1u);
    EXPECT_EQ(docs.front()->GetTitle(), L"Tidema1");
    EXPECT_FALSE(FrameOf(docs.front())->IsWindowVisible());
    EXPECT_EQ(main->MDIGetActive(), nullptr);  // nothing visible is active in the client area
}

TEST(Startup, NewAndStartPageAddHiddenIntroductionPagesAndDataWipeOpensNothing) {
    CTidemarkApp* app = StartApp();
    auto* intro = static_cast<CMultiDocTemplate*>(app->GetDocTemplates().front());
    size_t before = intro->GetDocuments().size();
    unsigned next = intro->m_nUntitledCount + 1;
    Command(ID_FILE_NEW);
    Command(ID_FILE_NEW);
    Command(ID_START_PAGE);
    auto docs = intro->GetDocuments();
    ASSERT_EQ(docs.size(), before + 3);
    EXPECT_EQ(docs[before]->GetTitle(), L"Tidema" + std::to_wstring(next));
    EXPECT_EQ(docs[before + 1]->GetTitle(), L"Tidema" + std::to_wstring(next + 1));
    for (size_t i = before; i < docs.size(); ++i) EXPECT_FALSE(FrameOf(docs[i])->IsWindowVisible()) << i;
    EXPECT_EQ(AfxGetMainWnd()->GetWindowText(), L"Corvane-Sweepmere");
    size_t all = AllDocuments(app);
    Command(ID_DATA_WIPE);
    EXPECT_EQ(AllDocuments(app), all);
}

TEST(Startup, ProfileMessageBoxesAndAboutCarryTheirNames) {
    StartApp();
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, L"Software\\Local AppWizard-Generated Applications\\Application"));
    DialogAnswerer box(L"Application");
    AfxMessageBox(L"hello");
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, L"hello");
    DialogAnswerer about(L"About Corvane-Sweepmere", IDC_ABOUT_OK);
    Command(ID_APP_ABOUT);
    ASSERT_EQ(about.Count(), 1u);
}

TEST(Startup, ProgramFilesPathIsExpandedOrEmpty) {
    const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion";
    wchar_t buf[260] = L"junk";
    RegSetBinary(HKEY_LOCAL_MACHINE, key, L"ProgramFilesPath", L"%SystemDrive%\\Apps", 19 * sizeof(wchar_t), REG_EXPAND_SZ);
    GetProgramFilesPath(buf, ARRAYSIZE(buf));
    EXPECT_STREQ(buf, L"C:\\Apps");
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key, L"ProgramFilesPath");
    GetProgramFilesPath(buf, ARRAYSIZE(buf));
    EXPECT_STREQ(buf, L"");
}
