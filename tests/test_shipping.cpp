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
std::wstring VersionString(const std::vector<wchar_t>& info, const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT len = 0;
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!::VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &len) || !len) return L"";
    return text;
}

INT_PTR CALLBACK Quiet(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::wstring AboutBoxText(int id) {
    HWND dlg = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), nullptr, Quiet, 0);
    wchar_t text[256] = L"";
    ::GetDlgItemTextW(dlg, id, text, ARRAYSIZE(text));
    ::DestroyWindow(dlg);
    return text;
}
}  // namespace

TEST(Shipping, ExplorerShowsTheVersionAndMakerThatTheAboutBoxShowsAndTheLoaderReadsTheManifest) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, ARRAYSIZE(self));
    DWORD ignored = 0;
    std::vector<wchar_t> info(::GetFileVersionInfoSizeW(self, &ignored));
    ASSERT_FALSE(info.empty()) << L"no version resource";
    ASSERT_TRUE(::GetFileVersionInfoW(self, 0, static_cast<DWORD>(info.size()), info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    wchar_t numbers[64];
    swprintf(numbers, ARRAYSIZE(numbers), L"%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(VersionString(info, L"FileVersion"), numbers);
    EXPECT_EQ(VersionString(info, L"ProductVersion"), numbers);
    EXPECT_EQ(AboutBoxText(IDC_ABOUT_VERSION), std::wstring(L"Corvane Sweepmere Version ") + numbers);

    EXPECT_EQ(VersionString(info, L"ProductName"), L"Corvane-Sweepmere");
    std::wstring maker = VersionString(info, L"CompanyName");
    ASSERT_FALSE(maker.empty());
    EXPECT_NE(AboutBoxText(IDC_ABOUT_INFO1).find(maker), std::wstring::npos) << maker;
    EXPECT_FALSE(VersionString(info, L"FileDescription").empty());

    // The manifest is read by the loader and claims no more than it should.
    HRSRC res = ::FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(res, nullptr) << L"no manifest";
    // The manifest is UTF-8 text.
    std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(nullptr, res))),
                         ::SizeofResource(nullptr, res));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor<"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm<"), std::string::npos);
    EXPECT_EQ(manifest.find("requireAdministrator"), std::string::npos);
    EXPECT_TRUE(::IsProcessDPIAware());

    // The loader honoured it: the common controls in use come from the side-by-side assembly of
    // version 6 (Wine's copy there reports 5.81 from DllGetVersion, so the folder is what tells).
    HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(comctl, path, ARRAYSIZE(path));
    EXPECT_NE(StrStrIW(path, L"common-controls_6595b64144ccf1df_6."), nullptr) << path;
}
