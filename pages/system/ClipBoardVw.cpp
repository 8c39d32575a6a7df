#include "ClipBoardVw.h"

#include "resource.h"

namespace {
look::PageLook ClipboardLook() {
    look::PageLook l = look::ListLook(IDC_CLIPBOARD_TITLE, IDC_CLIPBOARD_TEXT);
    l.rules.insert(l.rules.begin(), look::Colour(look::kWhite, {IDC_CLIPBOARD_CONTENT}));
    return l;
}
}  // namespace

CClipBoardVw::CClipBoardVw() : CPageView(IDD_CLIPBOARD, ClipboardLook(), "ClipBoard Content") {}

void CClipBoardVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CLIPBOARD_CONTENT, m_content);
}
