// The drive pages: one drive's label, file system and space; the list of drives to wipe with its
// striped rows and its layout; the sizes in whole mebibytes.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "drives/DriveSpace.h"
#include "DriveText.h"
#include "LastChosenText.h"
#include "TestKit.h"
#include "drives/DrivesVw.h"
#include "drives/USpaceVw.h"
#include "resource.h"

using namespace testkit;

namespace {
unsigned long long FreeMegabytes(const char* root) {
    ULARGE_INTEGER available{}, total{}, free{};
    ::GetDiskFreeSpaceExA(root, &available, &total, &free);
    return free.QuadPart / (1024 * 1024);
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The number in front of " MB".
long long Megabytes(const std::string& text) {
    EXPECT_EQ(text.size() > 3 ? text.substr(text.size() - 3) : text, " MB");
    return text.empty() ? -1 : std::stoll(text);
}

// A window's client area as shown on the screen.
class Pixels {
public:
    explicit Pixels(HWND h) {
        CRect r;
        ::GetClientRect(h, &r);
        m_width = r.Width();
        HDC window = ::GetDC(h);
        HDC mem = ::CreateCompatibleDC(window);
        HBITMAP bmp = ::CreateCompatibleBitmap(window, r.Width(), r.Height());
        HGDIOBJ old = ::SelectObject(mem, bmp);
        ::BitBlt(mem, 0, 0, r.Width(), r.Height(), window, 0, 0, SRCCOPY);
        m_pixels.resize(static_cast<size_t>(r.Width()) * r.Height());
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0; x < r.Width(); ++x) m_pixels[static_cast<size_t>(y) * m_width + x] = ::GetPixel(mem, x, y);
        ::SelectObject(mem, old);
        ::DeleteObject(bmp);
        ::DeleteDC(mem);
        ::ReleaseDC(h, window);
    }
    COLORREF At(int x, int y) const { return m_pixels.at(static_cast<size_t>(y) * m_width + x); }

private:
    int m_width = 0;
    std::vector<COLORREF> m_pixels;
};

class DrivePages : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }

    template <class View>
    View* Open(PageId page) {
        auto* view = dynamic_cast<View*>(ViewOf(TheApp()->OpenPage(page)));
        EXPECT_NE(view, nullptr);
        if (view) view->UpdateWindow();
        return view;
    }
    static std::string Item(CWnd* view, int id) {
        HWND h = ::GetDlgItem(view->m_hWnd, id);
        return h ? TextOf(h) : "<none>";
    }
};
}  // namespace

TEST(DriveSizes, AreWholeMebibytesWithTheRemainderDropped) {
    EXPECT_EQ(drives::MegabytesText(0), "0 MB");
    EXPECT_EQ(drives::MegabytesText(1048575), "0 MB");
    EXPECT_EQ(drives::MegabytesText(1572864), "1 MB");
    EXPECT_EQ(drives::MegabytesText(3221225472ull), "3072 MB");
    EXPECT_EQ(drives::MegabytesText(5ull << 40), "5242880 MB");  // past 32 bits
}

TEST_F(DrivePages, TheDrivesPageShowsTheChosenDrive) {
    LastChosenText() = "C: [CORVANE]";
    ASSERT_EQ(DriveText('C'), LastChosenText()) << "the test prefix labels C:";
    auto* view = Open<CDrivesVw>(PageId::Drives);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetParentFrame()->GetWindowText(), "C: [CORVANE]");
    EXPECT_EQ(Item(view, IDC_DRIVES_DRIVE), "C: [CORVANE]");
    const char* headings[] = {"Label", "File System", "Unused Space", "Total Space"};
    const int headingIds[] = {111, 222, 333, 444};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Item(view, headingIds[i]), headings[i]);
    EXPECT_EQ(Item(view, IDC_DRIVES_VALUE_LABEL), "C: [CORVANE]");
    EXPECT_FALSE(Item(view, IDC_DRIVES_VALUE_FILESYSTEM).empty());
    long long unused = Megabytes(Item(view, IDC_DRIVES_VALUE_UNUSED));
    EXPECT_NEAR(static_cast<double>(unused), static_cast<double>(FreeMegabytes("C:\\")), 64.0);
    EXPECT_GE(Megabytes(Item(view, IDC_DRIVES_VALUE_TOTAL)), unused);
    // The value cells sit on the drive-row grey.
    HDC dc = ::CreateCompatibleDC(nullptr);
    view->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                      reinterpret_cast<LPARAM>(::GetDlgItem(view->m_hWnd, IDC_DRIVES_VALUE_TOTAL)));
    EXPECT_EQ(::GetBkColor(dc), look::kDriveRowGrey);
    ::DeleteDC(dc);
}

TEST_F(DrivePages, ADriveWithoutLabelOrNoDriveAtAll) {
    // Y: holds the test programs and has no label.
    LastChosenText() = "Y:";
    ASSERT_EQ(DriveText('Y'), "Y:");
    auto* view = Open<CDrivesVw>(PageId::Drives);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Item(view, IDC_DRIVES_DRIVE), "Y:");
    EXPECT_EQ(Item(view, IDC_DRIVES_VALUE_LABEL), "Y:");

    // A text no drive has: the headings only.
    LastChosenText() = "C: [SOMETHING ELSE]";
    view = Open<CDrivesVw>(PageId::Drives);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Item(view, IDC_DRIVES_HEAD_TOTAL), "Total Space");
    EXPECT_EQ(Item(view, IDC_DRIVES_DRIVE), "");
    for (int id : {555, 666, 777, 888}) EXPECT_EQ(::GetDlgItem(view->m_hWnd, id), nullptr) << id;
}

TEST_F(DrivePages, UnusedSpaceListsEveryPresentDriveUnchecked) {
    auto* view = Open<CUSpaceVw>(PageId::UnusedSpace);
    ASSERT_NE(view, nullptr);
    CListCtrl& list = view->m_list;
    EXPECT_EQ(list.GetExtendedStyle(),
              static_cast<DWORD>(LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB));
    std::vector<char> present = drives::PresentDrives();
    ASSERT_EQ(list.GetItemCount(), static_cast<int>(present.size()));
    for (int row = 0; row < list.GetItemCount(); ++row) {
        EXPECT_EQ(list.GetItemText(row, 0), std::string(1, present[row]) + ":\\");
        EXPECT_FALSE(list.GetCheck(row));
    }
    int c = static_cast<int>(std::find(present.begin(), present.end(), 'C') - present.begin());
    int y = static_cast<int>(std::find(present.begin(), present.end(), 'Y') - present.begin());
    ASSERT_LT(c, y);  // in letter order; A: is never looked at
    EXPECT_EQ(list.GetItemText(c, 1), "CORVANE");
    EXPECT_EQ(list.GetItemText(y, 1), "");
    EXPECT_FALSE(list.GetItemText(c, 2).empty());
    EXPECT_NEAR(static_cast<double>(Megabytes(list.GetItemText(c, 3))), static_cast<double>(FreeMegabytes("C:\\")), 64.0);
    EXPECT_GE(Megabytes(list.GetItemText(c, 4)), Megabytes(list.GetItemText(c, 3)));

    view->SendMessage(WM_COMMAND, IDC_USPACE_SELECTALL);
    for (int row = 0; row < list.GetItemCount(); ++row) EXPECT_TRUE(list.GetCheck(row));
    view->SendMessage(WM_COMMAND, IDC_USPACE_CLEARALL);
    for (int row = 0; row < list.GetItemCount(); ++row) EXPECT_FALSE(list.GetCheck(row));
}

TEST_F(DrivePages, UnusedSpaceLaysOutItsListAtEverySize) {
    auto* view = Open<CUSpaceVw>(PageId::UnusedSpace);
    ASSERT_NE(view, nullptr);
    CFrameWnd* frame = view->GetParentFrame();
    for (SIZE size : {SIZE{760, 560}, SIZE{120, 200}}) {
        frame->MoveWindow(0, 0, size.cx, size.cy);
        CRect client, list, band;
        view->GetClientRect(&client);
        view->m_list.GetWindowRect(&list);
        view->ScreenToClient(&list);
        view->m_band.GetWindowRect(&band);
        view->ScreenToClient(&band);
        int w = std::max(0, static_cast<int>(client.Width()) - 160);
        SCOPED_TRACE(w);
        EXPECT_EQ(Text(band), Text({0, 0, client.Width(), 100}));
        EXPECT_EQ(Text(list), Text({20, 140, 20 + w, 140 + client.Height() * 5 / 14}));
        EXPECT_TRUE(view->m_list.IsWindowVisible());
        const int shares[] = {10, 4, 5, 4, 5};
        for (int col = 0; col < 5; ++col) EXPECT_EQ(view->m_list.GetColumnWidth(col), w / shares[col]) << col;
    }
}

TEST_F(DrivePages, TheDriveListIsStripedInGreyText) {
    auto* view = Open<CUSpaceVw>(PageId::UnusedSpace);
    ASSERT_NE(view, nullptr);
    CStripedListCtrl& list = view->m_list;
    // The custom-draw answers, asked the way the list asks its parent.
    NMLVCUSTOMDRAW cd{};
    cd.nmcd.hdr = {list.m_hWnd, static_cast<UINT_PTR>(IDC_USPACE_DRIVE_LIST), static_cast<UINT>(NM_CUSTOMDRAW)};
    auto ask = [&](DWORD stage, DWORD_PTR row) {
        cd.nmcd.dwDrawStage = stage;
        cd.nmcd.dwItemSpec = row;
        cd.clrText = cd.clrTextBk = RGB(1, 2, 3);
        return view->SendMessage(WM_NOTIFY, IDC_USPACE_DRIVE_LIST, reinterpret_cast<LPARAM>(&cd));
    };
    EXPECT_EQ(ask(CDDS_PREPAINT, 0), CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(ask(CDDS_ITEMPREPAINT, 3), CDRF_NOTIFYSUBITEMDRAW);
    EXPECT_EQ(cd.clrText, RGB(96, 96, 96));
    for (DWORD_PTR row : {0, 1, 4, 7}) {
        EXPECT_EQ(ask(CDDS_ITEMPREPAINT | CDDS_SUBITEM, row), CDRF_DODEFAULT);
        EXPECT_EQ(cd.clrTextBk, row % 2 ? look::kWhite : look::kPageColour) << row;
    }

    // The background: bands the height of a row below the rows, in the rows' alternation.
    view->GetParentFrame()->MoveWindow(0, 0, 700, 700);
    CRect first;
    ASSERT_TRUE(list.GetItemRect(0, &first, LVIR_BOUNDS));
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(ErasedPixel(&list, 30, first.top + row * first.Height() + first.Height() / 2),
                  row % 2 ? look::kWhite : look::kPageColour)
            << row;

    // On screen: each row on its colour, its space text in grey.
    list.RedrawWindow(RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pixels shown(list.m_hWnd);
    for (int row = 0; row < list.GetItemCount(); ++row) {
        CRect cell{};
        cell.top = 3;  // the column
        cell.left = LVIR_BOUNDS;
        ASSERT_TRUE(list.SendMessage(LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell)));
        COLORREF background = row % 2 ? look::kWhite : look::kPageColour;
        EXPECT_EQ(shown.At(cell.right - 2, cell.top + 1), background) << row;
        COLORREF darkest = background;
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x)
                if (GetGValue(shown.At(x, y)) < GetGValue(darkest)) darkest = shown.At(x, y);
        EXPECT_EQ(darkest, CStripedListCtrl::kTextColour) << row;
    }
}
