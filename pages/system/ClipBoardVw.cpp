#include "ClipBoardVw.h"

#include <cstring>

#include "resource.h"

namespace {
look::PageLook ClipboardLook() {
    look::PageLook l = look::ListLook(IDC_CLIPBOARD_TITLE, IDC_CLIPBOARD_TEXT);
    l.rules.insert(l.rules.begin(), look::Colour(look::kWhite, {IDC_CLIPBOARD_CONTENT}));
    return l;
}

const char kNotErased[] = "The clipboard could not be erased.";
}  // namespace

const MsgMap CClipBoardVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_CLIPBOARD_ERASE, &CClipBoardVw::OnErase),
}};

CClipBoardVw::CClipBoardVw() : CPageView(IDD_CLIPBOARD, ClipboardLook(), "ClipBoard Content") {}

void CClipBoardVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CLIPBOARD_CONTENT, m_content);
    if (!pDX->m_bSaveAndValidate) m_content.SetWindowText(ReadText(m_hWnd));
}

std::string CClipBoardVw::ReadText(HWND owner) {
    if (!::OpenClipboard(owner)) return {};
    std::string text;
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
        // Another program wrote the block: its zero may be missing, so the block's size bounds it.
        SIZE_T size = ::GlobalSize(data);
        if (const char* p = static_cast<const char*>(::GlobalLock(data))) {
            text.assign(p, strnlen(p, size));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

EraseResult CClipBoardVw::EraseClipboard(HWND owner) {
    EraseResult result;
    if (!::OpenClipboard(owner)) {
        result.Failed("Another program holds the clipboard open.");
        return result;
    }
    if (::CountClipboardFormats() > 0) result.erased = 1;
    if (!::EmptyClipboard()) {
        result.erased = 0;
        result.Failed("The clipboard could not be emptied.");
    } else if (owner) {
        ::SetClipboardData(CF_TEXT, nullptr);
    }
    ::CloseClipboard();
    return result;
}

EraseResult CClipBoardVw::EraseWithoutWindow() { return EraseClipboard(nullptr); }

void CClipBoardVw::OnErase() {
    if (EraseClipboard(m_hWnd).Complete())
        m_content.SetWindowText("");
    else
        AfxMessageBox(kNotErased);
}
