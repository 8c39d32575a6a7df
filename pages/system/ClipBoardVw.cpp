#include "ClipBoardVw.h"

#include <cstring>

#include "resource.h"

namespace {
look::PageLook ClipboardLook() {
    look::PageLook l = look::ListLook(IDC_CLIPBOARD_TITLE, IDC_CLIPBOARD_TEXT);
    l.rules.insert(l.rules.begin(), look::Colour(look::kWhite, {IDC_CLIPBOARD_CONTENT}));
    return l;
}

const wchar_t kNotErased[] = L"The clipboard could not be erased.";
}  // namespace

const MsgMap CClipBoardVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_CLIPBOARD_ERASE, &CClipBoardVw::OnErase),
}};

CClipBoardVw::CClipBoardVw() : CPageView(IDD_CLIPBOARD, ClipboardLook(), L"ClipBoard Content") {}

void CClipBoardVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CLIPBOARD_CONTENT, m_content);
    if (!pDX->m_bSaveAndValidate) m_content.SetWindowText(ReadText(m_hWnd));
}

std::wstring CClipBoardVw::ReadText(HWND owner) {
    if (!::OpenClipboard(owner)) return {};
    std::wstring text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        // Another program wrote the block: its zero may be missing, so the block's size bounds it.
        SIZE_T size = ::GlobalSize(data);
        if (const wchar_t* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text.assign(p, wcsnlen(p, size / sizeof(wchar_t)));
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

EraseResult CClipBoardVw::EraseClipboard(HWND owner) {
    EraseResult result;
    if (!::OpenClipboard(owner)) {
        result.Failed(L"Another program holds the clipboard open.");
        return result;
    }
    if (::CountClipboardFormats() > 0) result.erased = 1;
    if (!::EmptyClipboard()) {
        result.erased = 0;
        result.Failed(L"The clipboard could not be emptied.");
    } else if (owner) {
        ::SetClipboardData(CF_TEXT, nullptr);
    }
    ::CloseClipboard();
    return result;
}

EraseResult CClipBoardVw::EraseWithoutWindow() { return EraseClipboard(nullptr); }

void CClipBoardVw::OnErase() {
    if (EraseClipboard(m_hWnd).Complete())
        m_content.SetWindowText(L"");
    else
        AfxMessageBox(kNotErased);
}
