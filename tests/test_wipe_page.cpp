// The Unused Space page driven as a user drives it: Current Settings and its Erase Settings
// dialog (and what Group Policy sets there), Erase Now on the ext2 test volume T: (tests/wipe_page_volume.sh writes and deletes a
// known text from the Linux side before each run and searches the raw image afterwards), and the
// removal of a leftover filler at the program's start.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "ModalScript.h"
#include "Settings.h"
#include "Pages.h"
#include "TestKit.h"
#include "TestVolume.h"
#include "UnusedSpace.h"
#include "WipeProgressDlg.h"
#include "Worker.h"
#include "drives/USpaceVw.h"
#include "drives/UnusedSpaceWipe.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kProduct[] = L"Corvane-Sweepmere";

int BarPosition(HWND dialog) { return static_cast<int>(::SendDlgItemMessageW(dialog, IDC_WIPE_BAR, PBM_GETPOS, 0, 0)); }

struct WipePage : testing::Test {
    void SetUp() override {
        ASSERT_EQ(TestVolumeProblem(), L"");
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
        ran = WithModalDialog(L"Wiping Unused Space", script, [&] { view->SendMessage(WM_COMMAND, IDC_USPACE_ERASE_NOW); });
        PumpUntil([&] { return yes.Count() >= 2; }, 2000);
        return yes.Seen();
    }
    CUSpaceVw* view = nullptr;
    bool ran = false;
};

}  // namespace

// Runs in a program of its own, before anything else has started the application object.
TEST(WipeAtStart, ALeftoverFillerIsRemovedAtTheNextStartAndTheUserToldOnce) {
    ASSERT_EQ(TestVolumeProblem(), L"");
    // The marker exactly as a wipe writes it, taken from one that is stopped at once.
    std::string marker;
    const std::wstring folder = engine::FillerFolder(L'T');
    engine::StopToken stop;
    engine::WipeUnusedSpace(L'T', [&](const engine::WipeStatus&) {
        marker = ReadWholeFile(folder + L"\\marker.txt");
        stop.Request();
    }, stop);
    ASSERT_FALSE(marker.empty());
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(folder + L"\\marker.txt", marker, marker.size()));
    ASSERT_TRUE(WriteTextFile(folder + L"\\fill000000.bin", "filler", 1 << 20));

    DialogAnswerer ok(kProduct);
    ASSERT_NE(StartApp(), nullptr);
    EXPECT_FALSE(FileExists(folder));
    ASSERT_EQ(ok.Count(), 1u);
    EXPECT_NE(ok.Seen()[0].text.find(L"has been removed:\nT:\\Corvane-Sweepmere wipe\n"), std::wstring::npos)
        << ok.Seen()[0].text;
    // Told once; a folder of that name without the marker: test_unused_space.
    EXPECT_EQ(wipe::RemoveLeftoverFillersAtStart(), L"");
}

TEST(WipeProgressText, BothFiguresInTheUnitOfTheFreeSpace) {
    EXPECT_EQ(wipetext::Written(600ull << 20, 1006ull << 20), L"0.59 of 0.98 GB written");
    EXPECT_EQ(wipetext::Written(5ull << 20, 60ull << 20), L"5.00 of 60.0 MB written");
    EXPECT_EQ(wipetext::Written(0, 300ull << 30), L"0.00 of 300 GB written");
    EXPECT_EQ(wipetext::Written(12, 700), L"12 of 700 bytes written");
}

// The user's choices are kept in the profile (what Cancel leaves changed is not); what the
// administrator sets shows greyed and OK leaves the user's own choice alone; the Erase of a category
// the policy turns off is grey on its page and in its summary's row.
TEST_F(WipePage, EraseSettingsKeepTheUsersChoicesAndShowTheAdministratorsGreyed) {
    const std::wstring policy = L"Software\\Policies\\Corvane-Sweepmere";
    RegDeleteTree(HKEY_CURRENT_USER, L"Software\\Local AppWizard-Generated Applications\\Application\\Settings");
    auto openSettings = [&](const std::function<void(HWND)>& script) {
        return WithModalDialog(L"Erase Settings", script, [&] { view->SendMessage(WM_COMMAND, IDC_USPACE_SETTINGS); });
    };
    auto passes = [](HWND d) { return ::SendDlgItemMessageW(d, IDC_ERASESET_PASSES, CB_GETCURSEL, 0, 0) + 1; };
    auto enabled = [](HWND d, int id) { return ::IsWindowEnabled(::GetDlgItem(d, id)) != FALSE; };
    ASSERT_TRUE(openSettings([&](HWND d) {
        EXPECT_EQ(::IsDlgButtonChecked(d, IDC_ERASESET_OVERWRITE), BST_UNCHECKED);
        EXPECT_EQ(passes(d), 1);
        EXPECT_FALSE(enabled(d, IDC_ERASESET_PASSES));
        EXPECT_EQ(::IsDlgButtonChecked(d, IDC_ERASESET_KEEP_RECENT), BST_CHECKED);
        Click(d, IDC_ERASESET_KEEP_RECENT);
        Click(d, IDC_ERASESET_OVERWRITE);
        EXPECT_TRUE(enabled(d, IDC_ERASESET_PASSES));
        ::SendDlgItemMessageW(d, IDC_ERASESET_PASSES, CB_SETCURSEL, 2, 0);
        Click(d, IDOK);
    }));
    ASSERT_TRUE(openSettings([&](HWND d) {
        EXPECT_EQ(::IsDlgButtonChecked(d, IDC_ERASESET_OVERWRITE), BST_CHECKED);
        EXPECT_EQ(passes(d), 3);
        EXPECT_EQ(::IsDlgButtonChecked(d, IDC_ERASESET_KEEP_RECENT), BST_UNCHECKED);
        Click(d, IDC_ERASESET_OVERWRITE);
        ::SendDlgItemMessageW(d, IDC_ERASESET_PASSES, CB_SETCURSEL, 1, 0);
        Click(d, IDCANCEL);
    }));
    EXPECT_TRUE(settings::Overwrite());
    EXPECT_EQ(settings::Passes(), 3u);

    settings::SetOverwrite(false);
    RegSetDword(HKEY_LOCAL_MACHINE, policy, L"Overwrite", 1);
    RegSetDword(HKEY_CURRENT_USER, policy, L"OverwritePasses", 2);
    const wchar_t off[] = L"apps.paint\0internet.cookies\0";
    RegSetBinary(HKEY_CURRENT_USER, policy, L"DisabledCategories", off, sizeof off, REG_MULTI_SZ);
    ASSERT_TRUE(openSettings([&](HWND d) {
        EXPECT_EQ(::IsDlgButtonChecked(d, IDC_ERASESET_OVERWRITE), BST_CHECKED);
        EXPECT_EQ(passes(d), 2);
        EXPECT_FALSE(enabled(d, IDC_ERASESET_OVERWRITE) || enabled(d, IDC_ERASESET_PASSES));
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(d, IDC_ERASESET_POLICY)));
        EXPECT_EQ(ItemText(d, IDC_ERASESET_POLICY), L"set by your administrator");
        Click(d, IDOK);
    }));
    EXPECT_FALSE(settings::Overwrite());
    EXPECT_EQ(settings::Passes(), 3u);
    EXPECT_TRUE(settings::EraseOptions().overwrite);
    EXPECT_EQ(settings::EraseOptions().passes, 2u);
    HWND paint = ViewOf(TheApp()->OpenPage("apps.paint"))->m_hWnd;
    HWND internet = ViewOf(TheApp()->OpenPage(pages::kInternet))->m_hWnd;
    EXPECT_FALSE(enabled(paint, IDC_PAINT_ERASE));
    EXPECT_FALSE(enabled(internet, IDC_INTERNET_ERASE_COOKIES));
    EXPECT_TRUE(enabled(internet, IDC_INTERNET_ERASE_HISTORY));
    RegDeleteTree(HKEY_LOCAL_MACHINE, policy);
    RegDeleteTree(HKEY_CURRENT_USER, policy);
    settings::SetPasses(1);
}

// With nothing checked the page asks for drives first. The driver finds no copy of the deleted text
// in the raw image after the wipe; that it gives the space back is test_unused_space's.
TEST_F(WipePage, EraseNowWipesTheCheckedDrive) {
    view->SendMessage(WM_COMMAND, IDC_USPACE_CLEARALL);
    std::vector<SeenDialog> seen = EraseNow([](HWND) {});
    EXPECT_FALSE(ran);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Check the drives to wipe first.");

    Check(L'T');
    std::wstring drive;
    seen = EraseNow([&](HWND d) {
        PumpUntil([&] { return ItemText(d, IDC_WIPE_WRITTEN).find(L" of ") != std::wstring::npos; }, 20000);
        drive = ItemText(d, IDC_WIPE_DRIVE);
        PumpUntil([&] { return !::IsWindowVisible(d); }, 120000);
    });
    ASSERT_TRUE(ran);
    EXPECT_EQ(drive, L"Drive T:");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, L"Wiping fills the unused space of T: for a while; other programs may find the disk full "
                            L"until it ends. Continue?");
    EXPECT_EQ(seen[1].text.rfind(L"Wiping unused space:\nT: bytes wiped: ", 0), 0u) << seen[1].text;
}

// Cancel at half way, then closing the page under a second wipe: each stops the wipe and removes
// the filler first, and says so. The driver still finds some of the deleted text: the control.
TEST_F(WipePage, CancelAtHalfWayOrClosingThePageStopsTheWipeFirst) {
    Check(L'T');
    int position = 0;
    std::wstring state;
    std::vector<SeenDialog> seen = EraseNow([&](HWND d) {
        PumpUntil([&] { return BarPosition(d) >= 500 || !::IsWindowVisible(d); }, 60000);
        position = BarPosition(d);
        Click(d, IDCANCEL);
        state = ItemText(d, IDC_WIPE_STATE);
        PumpUntil([&] { return !::IsWindowVisible(d); }, 5000);
    });
    ASSERT_TRUE(ran);
    EXPECT_GE(position, 500);
    EXPECT_LT(position, 1000);
    EXPECT_EQ(state, L"Cancelling: the filler is being removed...");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[1].text.find(L"T: wipe cancelled after "), std::wstring::npos) << seen[1].text;
    EXPECT_FALSE(FileExists(engine::FillerFolder(L'T')));

    CFrameWnd* frame = view->GetParentFrame();
    bool folderDuringWipe = false;
    seen = EraseNow([&](HWND d) {
        PumpUntil([&] { return BarPosition(d) > 0; }, 20000);
        folderDuringWipe = FileExists(engine::FillerFolder(L'T'));
        frame->SendMessage(WM_CLOSE);  // returns once the filler is gone
        EXPECT_FALSE(FileExists(engine::FillerFolder(L'T')));
    });
    view = nullptr;
    EXPECT_TRUE(folderDuringWipe);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[1].text.find(L"T: wipe cancelled after "), std::wstring::npos) << seen[1].text;
}

