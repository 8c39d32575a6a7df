// The Unused Space page driven as a user drives it: Current Settings and its Erase Settings
// dialog, and Erase Now on the ext2 test volume T: (tests/wipe_page_volume.sh writes and deletes
// a known text from the Linux side before each run and searches the raw image afterwards).
#include <gtest/gtest.h>

#include <chrono>

#include "AppHarness.h"
#include "ModalScript.h"
#include "Settings.h"
#include "Pages.h"
#include "TestKit.h"
#include "UnusedSpace.h"
#include "Worker.h"
#include "drives/USpaceVw.h"
#include "drives/UnusedSpaceWipe.h"
#include "resource.h"

using namespace testkit;
using Clock = std::chrono::steady_clock;

namespace {
const wchar_t kProduct[] = L"Corvane-Sweepmere";
const wchar_t kProgress[] = L"Wiping Unused Space";

DWORD ProfileValue(const wchar_t* name) {
    DWORD value = 99, size = sizeof value;
    ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Local AppWizard-Generated Applications\\Application\\Settings", name,
                   RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

unsigned long long FreeOnT() {
    ULARGE_INTEGER free{};
    ::GetDiskFreeSpaceExW(L"T:\\", &free, nullptr, nullptr);
    return free.QuadPart;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
int BarPosition(HWND dialog) { return static_cast<int>(::SendDlgItemMessageW(dialog, IDC_WIPE_BAR, PBM_GETPOS, 0, 0)); }

struct WipePage : testing::Test {
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        view = dynamic_cast<CUSpaceVw*>(ViewOf(TheApp()->OpenPage(pages::kUnusedSpace)));
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override { CloseAllPages(); }
    // Checks only the row of the drive.
    void Check(wchar_t drive) {
        for (int row = 0; row < view->m_list.GetItemCount(); ++row)
            view->m_list.SetCheck(row, view->m_list.GetItemText(row, 0) == std::wstring(1, drive) + L":\\");
    }
    // Presses Erase Now, answers every box of the program with Yes, and runs script in the
    // progress dialog; returns the boxes seen (the question, then the report).
    std::vector<SeenDialog> EraseNow(const std::function<void(HWND)>& script) {
        DialogAnswerer yes(kProduct, IDYES);
        ran = WithModalDialog(kProgress, script, [&] { view->SendMessage(WM_COMMAND, IDC_USPACE_ERASE_NOW); });
        PumpUntil([&] { return yes.Count() >= 2; }, 2000);
        return yes.Seen();
    }
    CUSpaceVw* view = nullptr;
    bool ran = false;
};

}  // namespace

TEST_F(WipePage, NothingCheckedAsksForDrivesFirst) {
    view->SendMessage(WM_COMMAND, IDC_USPACE_CLEARALL);
    std::vector<SeenDialog> seen = EraseNow([](HWND) {});
    EXPECT_FALSE(ran);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Check the drives to wipe first.");
}

TEST_F(WipePage, EraseSettingsKeepTheirChoicesInTheProfile) {
    RegDeleteTree(HKEY_CURRENT_USER, L"Software\\Local AppWizard-Generated Applications\\Application\\Settings");
    auto openSettings = [&](const std::function<void(HWND)>& script) {
        return WithModalDialog(L"Erase Settings", script, [&] { view->SendMessage(WM_COMMAND, IDC_USPACE_SETTINGS); });
    };
    auto passes = [](HWND d) { return ::SendDlgItemMessageW(d, IDC_ERASESET_PASSES, CB_GETCURSEL, 0, 0) + 1; };
    ASSERT_TRUE(openSettings([&](HWND d) {
        EXPECT_EQ(::IsDlgButtonChecked(d, IDC_ERASESET_OVERWRITE), BST_UNCHECKED);
        EXPECT_EQ(passes(d), 1);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d, IDC_ERASESET_PASSES)));
        Click(d, IDC_ERASESET_OVERWRITE);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d, IDC_ERASESET_PASSES)));
        ::SendDlgItemMessageW(d, IDC_ERASESET_PASSES, CB_SETCURSEL, 2, 0);
        Click(d, IDOK);
    }));
    EXPECT_EQ(ProfileValue(L"Overwrite"), 1u);
    EXPECT_EQ(ProfileValue(L"Passes"), 3u);
    EXPECT_TRUE(settings::EraseOptions().overwrite);
    EXPECT_EQ(settings::EraseOptions().passes, 3u);

    // Shown again as kept; what Cancel leaves changed is not kept.
    ASSERT_TRUE(openSettings([&](HWND d) {
        EXPECT_EQ(::IsDlgButtonChecked(d, IDC_ERASESET_OVERWRITE), BST_CHECKED);
        EXPECT_EQ(passes(d), 3);
        Click(d, IDC_ERASESET_OVERWRITE);
        ::SendDlgItemMessageW(d, IDC_ERASESET_PASSES, CB_SETCURSEL, 1, 0);
        Click(d, IDCANCEL);
    }));
    EXPECT_EQ(ProfileValue(L"Overwrite"), 1u);
    EXPECT_EQ(ProfileValue(L"Passes"), 3u);
    settings::SetOverwrite(false);
    settings::SetPasses(1);
}

// The driver finds no copy of the deleted text in the raw image after this run.
