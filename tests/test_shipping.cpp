// What Windows reads from the exe besides its code: the version that Explorer shows (the same as
// the About box says) and the manifest (its common controls must actually be the ones loaded).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "afxwin.h"
#include "resource.h"

#include <shlwapi.h>

namespace {
std::string VersionString(const std::vector<char>& info, const char* name) {
    char* text = nullptr;
    UINT len = 0;
    std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!::VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &len) || !len) return "";
    return text;
}

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::string AboutBoxText(int id) {
    HWND dlg = ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr, Quiet, 0);
    char text[256] = "";
    ::GetDlgItemTextA(dlg, id, text, sizeof text);
    ::DestroyWindow(dlg);
    return text;
}
}  // namespace

TEST(Shipping, ExplorerShowsTheVersionAndMakerThatTheAboutBoxShows) {
    char self[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, sizeof self);
    DWORD ignored = 0;
    std::vector<char> info(::GetFileVersionInfoSizeA(self, &ignored));
    ASSERT_FALSE(info.empty()) << "no version resource";
    ASSERT_TRUE(::GetFileVersionInfoA(self, 0, static_cast<DWORD>(info.size()), info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(::VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    char numbers[64];
    snprintf(numbers, sizeof numbers, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(VersionString(info, "FileVersion"), numbers);
    EXPECT_EQ(VersionString(info, "ProductVersion"), numbers);
    EXPECT_EQ(AboutBoxText(IDC_ABOUT_VERSION), std::string("Corvane Sweepmere Version ") + numbers);

    EXPECT_EQ(VersionString(info, "ProductName"), "Corvane-Sweepmere");
    std::string maker = VersionString(info, "CompanyName");
    ASSERT_FALSE(maker.empty());
    EXPECT_NE(AboutBoxText(IDC_ABOUT_INFO1).find(maker), std::string::npos) << maker;
    EXPECT_FALSE(VersionString(info, "FileDescription").empty());
}

TEST(Shipping, TheManifestIsReadByTheLoaderAndClaimsNoMoreThanItShould) {
    HRSRC res = ::FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(res, nullptr) << "no manifest";
    std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(nullptr, res))),
                         ::SizeofResource(nullptr, res));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_EQ(manifest.find("dpiAware"), std::string::npos);
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);

    // The loader honoured it: the common controls in use come from the side-by-side assembly of
    // version 6 (Wine's copy there reports 5.81 from DllGetVersion, so the folder is what tells).
    HMODULE comctl = ::GetModuleHandleA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(comctl, path, sizeof path);
    EXPECT_NE(StrStrIA(path, "common-controls_6595b64144ccf1df_6."), nullptr) << path;
}
