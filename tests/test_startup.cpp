// Start-up: the application object registers its templates, makes the main window and the
// hidden introduction page, and carries the application-wide commands.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
const UINT kTemplateIds[] = {129, 155, 157, 211, 163, 159, 177, 158, 165, 162, 167, 180, 181, 145, 175, 310,
                             179, 263, 182, 183, 204, 202, 203, 184, 168, 178, 169, 171, 172, 170, 259};

std::vector<CDocument*> IntroDocuments(CTidemarkApp* app) {
    return app->GetDocTemplates().front()->GetDocuments();
}

void Command(UINT id) { AfxGetMainWnd()->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
}  // namespace

TEST(Startup, RegistersTheThirtyOneTemplatesInOrderWithTheirResources) {
    CTidemarkApp* app = StartApp();
    ASSERT_NE(app, nullptr);
    const auto& templates = app->GetDocTemplates();
    ASSERT_EQ(templates.size(), std::size(kTemplateIds));
    for (size_t i = 0; i < templates.size(); ++i) {
        EXPECT_EQ(templates[i]->m_nIDResource, kTemplateIds[i]) << "row " << i + 1;
        EXPECT_NE(::FindResourceA(nullptr, MAKEINTRESOURCEA(kTemplateIds[i]), RT_GROUP_ICON), nullptr)
            << "icon of row " << i + 1;
    }
    // Only the introduction template has a menu and document strings of its own.
    EXPECT_NE(templates[0]->m_hMenuShared, nullptr);
    std::string name;
    EXPECT_TRUE(templates[0]->GetDocString(name, CDocTemplate::fileNewName));
    EXPECT_EQ(name, "Tidema");
    EXPECT_TRUE(templates[0]->GetDocString(name, CDocTemplate::regFileTypeName));
    EXPECT_EQ(name, "Tidema Document");
    for (size_t i = 1; i < templates.size(); ++i) EXPECT_EQ(templates[i]->m_hMenuShared, nullptr);
    EXPECT_EQ(app->PageTemplate(PageId::TypedUrls), templates[7]);
    EXPECT_EQ(app->PageTemplate(PageId::WipeList), templates[30]);
}

TEST(Startup, MainWindowShowsWithItsTitleAndTheIntroductionPageStaysHidden) {
    CTidemarkApp* app = StartApp();
    ASSERT_NE(app->m_pMainWnd, nullptr);
    auto* main = dynamic_cast<CMDIFrameWnd*>(app->m_pMainWnd);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->IsWindowVisible());
    EXPECT_EQ(main->GetWindowText(), "Corvane-Sweepmere");
    auto docs = IntroDocuments(app);
    ASSERT_GE(docs.size(), 1u);
    EXPECT_EQ(docs.front()->GetTitle(), "Tidema1");
    CFrameWnd* frame = FrameOf(docs.front());
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(frame->IsWindowVisible());
    EXPECT_EQ(main->MDIGetActive(), nullptr);  // nothing visible is active in the client area
}

TEST(Startup, NewTwiceGivesTwoMoreHiddenIntroductionPages) {
    CTidemarkApp* app = StartApp();
    size_t before = IntroDocuments(app).size();
    unsigned next = app->GetDocTemplates().front()->GetDocuments().empty()
                        ? 1
                        : static_cast<CMultiDocTemplate*>(app->GetDocTemplates().front())->m_nUntitledCount + 1;
    Command(ID_FILE_NEW);
    Command(ID_FILE_NEW);
    auto docs = IntroDocuments(app);
    ASSERT_EQ(docs.size(), before + 2);
    EXPECT_EQ(docs[docs.size() - 2]->GetTitle(), "Tidema" + std::to_string(next));
    EXPECT_EQ(docs.back()->GetTitle(), "Tidema" + std::to_string(next + 1));
    EXPECT_FALSE(FrameOf(docs.back())->IsWindowVisible());
    EXPECT_EQ(AfxGetMainWnd()->GetWindowText(), "Corvane-Sweepmere");
}

TEST(Startup, StartPageOpensAnotherHiddenIntroductionPage) {
    CTidemarkApp* app = StartApp();
    size_t before = IntroDocuments(app).size();
    Command(ID_START_PAGE);
    EXPECT_EQ(IntroDocuments(app).size(), before + 1);
    EXPECT_FALSE(FrameOf(IntroDocuments(app).back())->IsWindowVisible());
}

TEST(Startup, DataWipeCommandOpensNothing) {
    CTidemarkApp* app = StartApp();
    size_t before = 0;
    for (CDocTemplate* t : app->GetDocTemplates()) before += t->GetDocuments().size();
    Command(ID_DATA_WIPE);
    size_t after = 0;
    for (CDocTemplate* t : app->GetDocTemplates()) after += t->GetDocuments().size();
    EXPECT_EQ(after, before);
}

TEST(Startup, ProfileLivesUnderTheFrameworkKey) {
    StartApp();
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software\\Local AppWizard-Generated Applications\\Application"));
    EXPECT_EQ(AfxGetApp()->m_pszAppName, "Application");
}

TEST(Startup, AboutShowsDialog100WithWhiteStatics) {
    StartApp();
    DialogAnswerer about("About Corvane-Sweepmere", IDC_ABOUT_OK);
    Command(ID_APP_ABOUT);
    ASSERT_EQ(about.Count(), 1u);
}

TEST(Startup, MessageBoxesAreCaptionedWithTheApplicationTitle) {
    StartApp();
    DialogAnswerer box("Application");
    AfxMessageBox("hello");
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, "hello");
}

TEST(Startup, ProgramFilesPathIsExpandedOrEmpty) {
    const char* key = "Software\\Microsoft\\Windows\\CurrentVersion";
    char buf[260] = "junk";
    RegSetBinary(HKEY_LOCAL_MACHINE, key, "ProgramFilesPath", "%SystemDrive%\\Apps", 19, REG_EXPAND_SZ);
    GetProgramFilesPath(buf, sizeof buf);
    EXPECT_STREQ(buf, "C:\\Apps");
    HKEY k;
    RegOpenKeyA(HKEY_LOCAL_MACHINE, key, &k);
    RegDeleteValueA(k, "ProgramFilesPath");
    RegCloseKey(k);
    GetProgramFilesPath(buf, sizeof buf);
    EXPECT_STREQ(buf, "");
}
