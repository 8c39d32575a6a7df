#include "ClipBoardVw.h"

#include <cstring>

#include "ReportBox.h"
#include "Traces.h"
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

void CClipBoardVw::OnErase() {
    if (engine::EmptyClipboard([this] { return ::OpenClipboard(m_hWnd) != FALSE; }, true).Complete())
        m_content.SetWindowText(L"");
    else
        report::ShowText(kNotErased, true);
}
