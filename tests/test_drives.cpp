// The drive pages: the chosen drive's label, file system and space; the list of drives to wipe,
// striped and laid out to the page; sizes in whole mebibytes.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "DriveText.h"
#include "LastChosenText.h"
#include "ModalScript.h"
#include "Pages.h"
#include "drives/DriveSpace.h"
#include "drives/DrivesVw.h"
#include "drives/USpaceVw.h"
#include "resource.h"

using namespace testkit;

namespace {
// The megabytes of a "<n> MB" text, checked against C:'s free space now (other programs write).
void ExpectFreeSpaceOfC(const std::wstring& text) {
    ULARGE_INTEGER available{}, total{}, free{};
    ::GetDiskFreeSpaceExW(L"C:\\", &available, &total, &free);
    EXPECT_EQ(text.substr(text.find(L' ')), L" MB");  // throws, and so fails, without a space
    EXPECT_NEAR(std::stod(text), static_cast<double>(free.QuadPart >> 20), 64.0);
}

std::wstring Item(CWnd* view, int id) { return ItemText(view->m_hWnd, id); }
}  // namespace

TEST(DriveSizes, AreWholeMebibytesWithTheRemainderDropped) {
    EXPECT_EQ((std::vector<std::wstring>{drives::MegabytesText(1048575), drives::MegabytesText(1572864), drives::MegabytesText(5ull << 40)}),
              (std::vector<std::wstring>{L"0 MB", L"1 MB", L"5242880 MB"}));
}

// The caption is the tree's last choice, read anew at each drawing.
TEST(DrivePages, TheDrivesPageShowsTheChosenDriveUnderTheLastChoiceAndUnusedSpaceListsEveryDriveStripedAndLaidOut) {
    ASSERT_EQ(DriveText('C'), L"C: [CORVANE]") << L"the test prefix labels C:";
    LastChosenText() = L"C: [CORVANE]";
    auto* view = OpenPage<CDrivesVw>(pages::kDrives);
    ASSERT_NE(view, nullptr);
    view->UpdateWindow();
    EXPECT_EQ(view->GetParentFrame()->GetWindowText(), L"C: [CORVANE]");
    EXPECT_EQ(Item(view, IDC_DRIVES_DRIVE), L"C: [CORVANE]");
    EXPECT_EQ(Item(view, IDC_DRIVES_VALUE_LABEL), L"C: [CORVANE]");
    EXPECT_NE(Item(view, IDC_DRIVES_VALUE_FILESYSTEM), L"");
    ExpectFreeSpaceOfC(Item(view, IDC_DRIVES_VALUE_UNUSED));
    EXPECT_GE(std::stod(Item(view, IDC_DRIVES_VALUE_TOTAL)), std::stod(Item(view, IDC_DRIVES_VALUE_UNUSED)));

    LastChosenText() = L"Y:";  // the drive of the test programs has no label
    view->Invalidate();
    view->UpdateWindow();
    EXPECT_EQ(view->GetParentFrame()->GetWindowText(), L"Y:");
    EXPECT_EQ(Item(OpenPage<CDrivesVw>(pages::kDrives), IDC_DRIVES_VALUE_LABEL), L"Y:");

    LastChosenText() = L"C: [ANOTHER LABEL]";
    view = OpenPage<CDrivesVw>(pages::kDrives);
    EXPECT_EQ(Item(view, IDC_DRIVES_DRIVE), L"");
    EXPECT_EQ(Item(view, IDC_DRIVES_HEAD_TOTAL), L"Total Space");  // the headings stay
    for (int id : {555, 666, 777, 888}) EXPECT_EQ(::GetDlgItem(view->m_hWnd, id), nullptr) << id;

    // Unused Space lists every drive, striped and laid out at every size; alone, as its pixels are
    // read off the screen.
    CloseAllPages();
    auto* space = OpenPage<CUSpaceVw>(pages::kUnusedSpace);
    ASSERT_NE(space, nullptr);
    CStripedListCtrl& list = space->m_list;
    ASSERT_EQ(list.GetItemCount(), 2);  // C: and Y: in the test prefix, in letter order
    EXPECT_EQ((std::vector<std::wstring>{list.GetItemText(0, 0), list.GetItemText(0, 1), list.GetItemText(1, 0), list.GetItemText(1, 1)}),
              (std::vector<std::wstring>{L"C:\\", L"CORVANE", L"Y:\\", L""}));
    ExpectFreeSpaceOfC(list.GetItemText(0, 3));
    EXPECT_FALSE(list.GetCheck(0) || list.GetCheck(1));
    space->SendMessage(WM_COMMAND, IDC_USPACE_SELECTALL);
    EXPECT_TRUE(list.GetCheck(0) && list.GetCheck(1));
    space->SendMessage(WM_COMMAND, IDC_USPACE_CLEARALL);
    EXPECT_FALSE(list.GetCheck(0) || list.GetCheck(1));

    for (SIZE frame : {SIZE{760, 560}, SIZE{120, 200}}) {
        space->GetParentFrame()->MoveWindow(0, 0, frame.cx, frame.cy);
        CRect client, rect;
        space->GetClientRect(&client);
        list.GetWindowRect(&rect);
        space->ScreenToClient(&rect);
        int w = std::max(0, static_cast<int>(client.Width()) - 160);
        EXPECT_EQ((std::vector<int>{rect.left, rect.top, rect.Width(), rect.Height()}),
                  (std::vector<int>{20, 140, w, client.Height() * 5 / 14}));
        EXPECT_EQ(list.GetColumnWidth(2), w / 5);
        EXPECT_TRUE(list.IsWindowVisible() && space->m_band.IsWindowVisible());
    }

    // Striped a row high below the rows too; on screen each row shows its colour, and the darkest
    // pixel of its space text is the grey.
    space->GetParentFrame()->MoveWindow(0, 0, 700, 700);
    CRect cell(LVIR_BOUNDS, 3, 0, 0);  // column 3
    ASSERT_TRUE(list.SendMessage(LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell)));
    for (int row = 0; row < 6; ++row) {
        COLORREF colour = row % 2 ? look::kWhite : look::kPageColour;
        int middle = cell.top + row * cell.Height() + cell.Height() / 2;
        EXPECT_EQ(ErasedPixel(&list, 30, middle), colour) << row;
        if (row >= list.GetItemCount()) continue;
        EXPECT_EQ(ClientPixel(list.m_hWnd, cell.right - 2, middle), colour) << row;
        COLORREF darkest = colour;
        for (int y = middle - 5; y <= middle + 5; ++y)
            for (int x = cell.left; x < cell.left + 40; ++x)
                if (GetGValue(ClientPixel(list.m_hWnd, x, y)) < GetGValue(darkest)) darkest = ClientPixel(list.m_hWnd, x, y);
        EXPECT_EQ(darkest, CStripedListCtrl::kTextColour) << row;
    }
    CloseAllPages();
}
