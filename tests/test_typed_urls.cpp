// The Typed URLs page: lists url1, url2, ... of the browser's TypedURLs key in registry order and
// erases the whole key, also from a view that never got a window.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "TestKit.h"
#include "internet/TypedUrlVw.h"
#include "resource.h"

#include <sddl.h>

using namespace testkit;

namespace {
const char* const kKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const char* const kCaption = "Corvane-Sweepmere";

class TypedUrlsPage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        RegDeleteTree(HKEY_CURRENT_USER, kKey);
    }
    void TearDown() override {
        CloseAllPages();
        RemoveLockedSubkey();
        RegDeleteTree(HKEY_CURRENT_USER, kKey);
    }

    CTypedUrlVw* Open() {
        CDocument* doc = TheApp()->OpenPage(PageId::TypedUrls);
        auto* view = dynamic_cast<CTypedUrlVw*>(ViewOf(doc));
        EXPECT_NE(view, nullptr);
        return view;
    }

    static std::vector<std::string> Rows(CTypedUrlVw* view) {
        std::vector<std::string> rows;
        for (int i = 0; i < view->m_list.GetCount(); ++i) rows.push_back(view->m_list.GetText(i));
        return rows;
    }

    // Presses ERASE and returns the message box it showed.
    static SeenDialog PressErase(CTypedUrlVw* view) {
        DialogAnswerer box(kCaption);
        HWND button = ::GetDlgItem(view->GetSafeHwnd(), IDC_TYPEDURL_ERASE);
        EXPECT_NE(button, nullptr);
        view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TYPEDURL_ERASE, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        EXPECT_EQ(box.Count(), 1u);
        return box.Count() ? box.Seen()[0] : SeenDialog{};
    }

    static void ExpectInformation(const SeenDialog& box, const char* text) {
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.text, text);
        EXPECT_TRUE(box.exStyle & WS_EX_TOPMOST) << "system-modal";
        EXPECT_EQ(box.icon, ::LoadIcon(nullptr, IDI_INFORMATION));
    }

    // A subkey that links to a key that does not exist: following it opens nothing.
    static void AddLockedSubkey() {
        HKEY link = nullptr;
        std::string path = std::string(kKey) + "\\locked";
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &link, nullptr),
                  ERROR_SUCCESS);
        const wchar_t target[] = L"\\Registry\\Machine\\Software\\CorvaneTests\\NoSuchKey";
        ::RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target), sizeof target - sizeof(wchar_t));
        ::RegCloseKey(link);
    }
    static void RemoveLockedSubkey() {
        HKEY link = nullptr;
        std::string path = std::string(kKey) + "\\locked";
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), REG_OPTION_OPEN_LINK, DELETE, &link) != ERROR_SUCCESS) return;
        ::RegDeleteKeyA(link, "");
        ::RegCloseKey(link);
    }

    static std::string Url(int n) { return "http://site" + std::to_string(n) + ".example/"; }
};
}  // namespace

TEST_F(TypedUrlsPage, ListsInRegistryOrderUpToTheFirstGapAndErasesTheWholeKey) {
    RegSetString(HKEY_CURRENT_USER, kKey, "url1", "http://zeta.example/");
    RegSetString(HKEY_CURRENT_USER, kKey, "url2", "http://alpha.example/");
    RegSetString(HKEY_CURRENT_USER, kKey, "url4", "http://after-the-gap.example/");
    CTypedUrlVw* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(view), (std::vector<std::string>{"http://zeta.example/", "http://alpha.example/"}));

    ExpectInformation(PressErase(view), "Typed URLs Completely Erased.");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));
    EXPECT_EQ(view->m_list.GetCount(), 0);
}

TEST_F(TypedUrlsPage, ListsAtMostAHundredEntries) {
    for (int n = 1; n <= 150; ++n) RegSetString(HKEY_CURRENT_USER, kKey, "url" + std::to_string(n), Url(n));
    CTypedUrlVw* view = Open();
    ASSERT_NE(view, nullptr);
    std::vector<std::string> rows = Rows(view);
    ASSERT_EQ(rows.size(), 100u);
    EXPECT_EQ(rows.front(), Url(1));
    EXPECT_EQ(rows.back(), Url(100));
}

TEST_F(TypedUrlsPage, AValueTooLongForTheBufferEndsTheList) {
    RegSetString(HKEY_CURRENT_USER, kKey, "url1", Url(1));
    RegSetString(HKEY_CURRENT_USER, kKey, "url2", "http://long.example/" + std::string(279, 'x'));  // 300 bytes
    RegSetString(HKEY_CURRENT_USER, kKey, "url3", Url(3));
    CTypedUrlVw* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(view), std::vector<std::string>{Url(1)});
}

TEST_F(TypedUrlsPage, ValuesThatAreNotTextShowTerminatedText) {
    RegSetDword(HKEY_CURRENT_USER, kKey, "url1", 0x00636261);
    std::string unterminated(260, 'b');
    RegSetBinary(HKEY_CURRENT_USER, kKey, "url2", unterminated.data(), 260, REG_BINARY);
    CTypedUrlVw* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(view), (std::vector<std::string>{"abc", std::string(259, 'b')}));
}

TEST_F(TypedUrlsPage, NoKeyGivesAnEmptyListAndErasingStillSucceeds) {
    CTypedUrlVw* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_list.GetCount(), 0);
    ExpectInformation(PressErase(view), "Typed URLs Completely Erased.");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));
}

TEST_F(TypedUrlsPage, ALinkBelowTheKeyThatLeadsNowhereGoesWithTheKey) {
    RegSetString(HKEY_CURRENT_USER, kKey, "url1", Url(1));
    RegSetString(HKEY_CURRENT_USER, kKey, "url2", Url(2));
    AddLockedSubkey();
    CTypedUrlVw* view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->m_list.GetCount(), 2);

    ExpectInformation(PressErase(view), "Typed URLs Completely Erased.");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));
    EXPECT_TRUE(Rows(view).empty());
}

TEST_F(TypedUrlsPage, AViewWithoutAWindowErasesTheKeyAndReports) {
    RegSetString(HKEY_CURRENT_USER, kKey, "url1", Url(1));
    CTypedUrlVw windowless;
    DialogAnswerer box(kCaption);
    EXPECT_TRUE(windowless.Erase());
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));
    ASSERT_EQ(box.Count(), 1u);
    ExpectInformation(box.Seen()[0], "Typed URLs Completely Erased.");
}

TEST_F(TypedUrlsPage, ARegistryLinkBelowTheKeyGoesAsALinkAndItsTargetStays) {
    // The link's target, named the way the registry names HKEY_CURRENT_USER inside.
    const std::string target = "Software\\Corvane-Tests\\LinkTarget";
    RegSetString(HKEY_CURRENT_USER, target, "keep", "me");
    RegSetString(HKEY_CURRENT_USER, target + "\\child", "keep", "me too");
    HANDLE token = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
    BYTE user[256];
    DWORD size = sizeof user;
    ASSERT_TRUE(::GetTokenInformation(token, TokenUser, user, size, &size));
    ::CloseHandle(token);
    char* sid = nullptr;
    ASSERT_TRUE(::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid));
    std::string nt = std::string("\\Registry\\User\\") + sid + "\\" + target;
    ::LocalFree(sid);
    std::wstring wide(nt.begin(), nt.end());

    RegSetString(HKEY_CURRENT_USER, kKey, "url1", Url(1));
    HKEY link = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kKey) + "\\link").c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(wide.c_str()),
                     static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
    ::RegCloseKey(link);
    ASSERT_TRUE(RegValueExists(HKEY_CURRENT_USER, std::string(kKey) + "\\link", "keep")) << "the link leads to the target";

    CTypedUrlVw* view = Open();
    ASSERT_NE(view, nullptr);
    ExpectInformation(PressErase(view), "Typed URLs Completely Erased.");
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kKey));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, target, "keep"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, target + "\\child", "keep"));
    RegDeleteTree(HKEY_CURRENT_USER, "Software\\Corvane-Tests\\LinkTarget");
}
