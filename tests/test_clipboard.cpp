// The clipboard page: shows the clipboard's text, erases the clipboard, and says so when another
// program holds it; the same erase runs without a window.
#include <gtest/gtest.h>

#include <future>

#include "AppHarness.h"
#include "Categories.h"
#include "resource.h"
#include "system/ClipBoardVw.h"

using namespace testkit;

namespace {
CClipBoardVw* Open() { return OpenPage<CClipBoardVw>("system.clipboard"); }
engine::Result EraseWithoutWindow() { return engine::RunErase(engine::CategoryOf("system.clipboard"), {}); }
}  // namespace

TEST(ClipboardPage, ShowsTheTextOfItsMomentErasesAllAndWhatAnotherProgramHoldsStaysAndTheUserIsTold) {
    PutClipboardText(L"first\r\nsecond");
    CClipBoardVw* view = Open();
    ASSERT_NE(view, nullptr);
    PutClipboard(CF_BITMAP, ::CreateBitmap(4, 4, 1, 32, nullptr));
    EXPECT_EQ(view->m_content.GetWindowText(), L"first\r\nsecond");
    EXPECT_EQ(Open()->m_content.GetWindowText(), L"");  // a picture is no text
    DialogAnswerer box(L"Corvane-Sweepmere");  // none until another program holds the clipboard
    view->SendMessage(WM_COMMAND, IDC_CLIPBOARD_ERASE);
    EXPECT_EQ(view->m_content.GetWindowText(), L"");
    EXPECT_FALSE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(CClipBoardVw::ReadText(nullptr), L"");

    PutClipboardText(L"secret");
    engine::Result quiet = EraseWithoutWindow();
    EXPECT_EQ(quiet.erased, 1u);
    EXPECT_TRUE(quiet.Complete());
    EXPECT_EQ(::CountClipboardFormats(), 0);
    EXPECT_EQ(box.Count(), 0u);

    // Held by another program, the clipboard stays and the user is told.
    PutClipboardText(L"kept");
    view = Open();
    ASSERT_NE(view, nullptr);
    std::promise<void> opened, release;
    std::thread other([&] {  // with a window of its own, as another program would hold it
        HWND own = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ::OpenClipboard(own);
        opened.set_value();
        release.get_future().wait();
        ::CloseClipboard();
        ::DestroyWindow(own);
    });
    opened.get_future().wait();
    std::wstring readWhileHeld = Open()->m_content.GetWindowText();
    view->SendMessage(WM_COMMAND, IDC_CLIPBOARD_ERASE);
    quiet = EraseWithoutWindow();
    release.set_value();
    other.join();
    EXPECT_EQ(readWhileHeld, L"");
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, L"The clipboard could not be erased.");
    EXPECT_EQ(box.Seen()[0].icon, ::LoadIcon(nullptr, IDI_WARNING));
    EXPECT_EQ(view->m_content.GetWindowText(), L"kept");
    EXPECT_EQ(quiet.failed, 1u);
    EXPECT_FALSE(quiet.FirstReason().empty());
    EXPECT_EQ(CClipBoardVw::ReadText(nullptr), L"kept");
    CloseAllPages();
}
