// The clipboard page: shows the clipboard's text, erases the clipboard and says so when another
// program holds it; the same erase runs without a window.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>

#include "AppHarness.h"
#include "TestKit.h"
#include "resource.h"
#include "system/ClipBoardVw.h"

using namespace testkit;

namespace {
// Puts a CF_TEXT block of exactly these bytes on the clipboard (a zero only if they hold one).
void PutTextBytes(const std::string& bytes) {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(::GlobalLock(block), bytes.data(), bytes.size());
    ::GlobalUnlock(block);
    ::SetClipboardData(CF_TEXT, block);
    ::CloseClipboard();
}

void PutPicture() {
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::SetClipboardData(CF_BITMAP, ::CreateBitmap(4, 4, 1, 32, nullptr));
    ::CloseClipboard();
}

// What another program pasting now would get: whether text is announced, and the text delivered.
struct Paste {
    bool announced = false;
    bool delivered = false;
    bool picture = false;
};
Paste PasteNow() {
    Paste p;
    if (!::OpenClipboard(nullptr)) return p;
    p.announced = ::IsClipboardFormatAvailable(CF_TEXT);
    p.picture = ::IsClipboardFormatAvailable(CF_BITMAP);
    p.delivered = ::GetClipboardData(CF_TEXT) != nullptr;
    ::CloseClipboard();
    return p;
}

// Another program holding the clipboard open for as long as it lives.
class ClipboardHolder {
public:
    ClipboardHolder()
        : m_thread([this] {
              std::unique_lock<std::mutex> lock(m_lock);
              // With a window of its own: opens without one are not told apart.
              HWND own = ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
              m_opened = ::OpenClipboard(own);
              m_ready = true;
              m_changed.notify_all();
              m_changed.wait(lock, [this] { return m_release; });
              if (m_opened) ::CloseClipboard();
              ::DestroyWindow(own);
          }) {
        std::unique_lock<std::mutex> lock(m_lock);
        m_changed.wait(lock, [this] { return m_ready; });
    }
    ~ClipboardHolder() {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_release = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    bool Holds() const { return m_opened; }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_ready = false, m_release = false, m_opened = false;
    std::thread m_thread;
};

class ClipboardPage : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }

    CClipBoardVw* Open() {
        auto* view = dynamic_cast<CClipBoardVw*>(ViewOf(TheApp()->OpenPage(PageId::Clipboard)));
        EXPECT_NE(view, nullptr);
        return view;
    }
    // Presses Erase; returns the message boxes it showed.
    static std::vector<SeenDialog> PressErase(CClipBoardVw* view) {
        DialogAnswerer box("Application");
        view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CLIPBOARD_ERASE, BN_CLICKED),
                          reinterpret_cast<LPARAM>(::GetDlgItem(view->m_hWnd, IDC_CLIPBOARD_ERASE)));
        return box.Seen();
    }
};
}  // namespace

TEST_F(ClipboardPage, ShowsTheTextOfTheMomentItOpened) {
    PutTextBytes(std::string("first line\r\nsecond line", 24));
    CClipBoardVw* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_content.GetWindowText(), "first line\r\nsecond line");
    PutTextBytes(std::string("copied later", 13));
    EXPECT_EQ(view->m_content.GetWindowText(), "first line\r\nsecond line");
    EXPECT_EQ(Open()->m_content.GetWindowText(), "copied later");

    PutPicture();
    EXPECT_EQ(Open()->m_content.GetWindowText(), "");
}

TEST_F(ClipboardPage, EraseRemovesEverythingAndAnnouncesTextThatNeverComes) {
    PutPicture();
    CClipBoardVw* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(PressErase(view).empty());
    Paste after = PasteNow();
    EXPECT_FALSE(after.picture);
    EXPECT_TRUE(after.announced);
    EXPECT_FALSE(after.delivered);

    PutTextBytes(std::string("secret", 7));
    view = Open();
    EXPECT_TRUE(PressErase(view).empty());
    EXPECT_EQ(view->m_content.GetWindowText(), "");
    EXPECT_FALSE(PasteNow().delivered);
}

TEST_F(ClipboardPage, AClipboardHeldByAnotherProgramIsNotShownAsErased) {
    PutTextBytes(std::string("kept", 5));
    CClipBoardVw* view = Open();
    ASSERT_NE(view, nullptr);
    {
        ClipboardHolder other;
        ASSERT_TRUE(other.Holds());
        EXPECT_EQ(Open()->m_content.GetWindowText(), "");  // nothing can be read while it is held
        std::vector<SeenDialog> boxes = PressErase(view);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "The clipboard could not be erased.");
        EXPECT_EQ(view->m_content.GetWindowText(), "kept");

        EraseResult quiet = CClipBoardVw::EraseWithoutWindow();
        EXPECT_EQ(quiet.erased, 0u);
        EXPECT_EQ(quiet.failed, 1u);
        EXPECT_FALSE(quiet.firstReason.empty());
    }
    EXPECT_EQ(CClipBoardVw::ReadText(nullptr), "kept");
}

TEST_F(ClipboardPage, TheEraseWithoutWindowEmptiesTheClipboardQuietly) {
    PutTextBytes(std::string("secret", 7));
    DialogAnswerer anyBox("Application");
    EraseResult r = CClipBoardVw::EraseWithoutWindow();
    EXPECT_TRUE(r.Complete());
    EXPECT_EQ(r.erased, 1u);
    EXPECT_EQ(anyBox.Count(), 0u);
    Paste after = PasteNow();
    EXPECT_FALSE(after.announced);
    EXPECT_FALSE(after.delivered);
}
