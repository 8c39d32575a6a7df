#include "afxctrls.h"

std::string CListBox::GetText(int i) const {
    int n = static_cast<int>(SendMessage(LB_GETTEXTLEN, i));
    if (n < 0) return std::string();
    std::string s(static_cast<size_t>(n) + 1, '\0');
    n = static_cast<int>(SendMessage(LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data())));
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
    DeleteImageList();
    m_hImageList = ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), cx, grow,
                                        mask, IMAGE_BITMAP, LR_CREATEDIBSECTION);
    return m_hImageList != nullptr;
}

int CListCtrl::InsertColumn(int col, const char* heading, int format, int width) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    c.fmt = format;
    c.pszText = const_cast<char*>(heading);
    c.iSubItem = col;
    if (width >= 0) {
        c.mask |= LVCF_WIDTH;
        c.cx = width;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, col, reinterpret_cast<LPARAM>(&c)));
}

int CListCtrl::InsertItem(int index, const std::string& text, int image) {
    LVITEMA it{};
    it.mask = LVIF_TEXT;
    it.iItem = index;
    it.pszText = const_cast<char*>(text.c_str());
    if (image >= 0) {
        it.mask |= LVIF_IMAGE;
        it.iImage = image;
    }
    return InsertItem(&it);
}

BOOL CListCtrl::SetItemText(int item, int sub, const std::string& text) {
    LVITEMA it{};
    it.iSubItem = sub;
    it.pszText = const_cast<char*>(text.c_str());
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&it)));
}

std::string CListCtrl::GetItemText(int item, int sub) const {
    std::string buf(1024, '\0');
    LVITEMA it{};
    it.iSubItem = sub;
    it.pszText = buf.data();
    it.cchTextMax = static_cast<int>(buf.size());
    int n = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&it)));
    buf.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return buf;
}

BOOL CListCtrl::SetCheck(int i, BOOL check) {
    LVITEMA it{};
    it.stateMask = LVIS_STATEIMAGEMASK;
    it.state = INDEXTOSTATEIMAGEMASK(check ? 2 : 1);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&it)));
}

HTREEITEM CTreeCtrl::InsertItem(const std::string& text, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTA tis{};
    tis.hParent = parent;
    tis.hInsertAfter = after;
    tis.item.mask = TVIF_TEXT;
    tis.item.pszText = const_cast<char*>(text.c_str());
    return InsertItem(&tis);
}

HTREEITEM CTreeCtrl::InsertItem(const std::string& text, int image, int selImage, HTREEITEM parent,
                                HTREEITEM after) {
    TVINSERTSTRUCTA tis{};
    tis.hParent = parent;
    tis.hInsertAfter = after;
    tis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tis.item.pszText = const_cast<char*>(text.c_str());
    tis.item.iImage = image;
    tis.item.iSelectedImage = selImage;
    return InsertItem(&tis);
}

std::string CTreeCtrl::GetItemText(HTREEITEM i) const {
    char buf[1024] = "";
    TVITEMA it{};
    it.mask = TVIF_TEXT;
    it.hItem = i;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    if (!SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return std::string();
    return buf;
}

UINT CTreeCtrl::GetItemState(HTREEITEM i, UINT mask) const {
    TVITEMA it{};
    it.mask = TVIF_STATE;
    it.hItem = i;
    it.stateMask = mask;
    SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return it.state & mask;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM i, int& image, int& selImage) const {
    TVITEMA it{};
    it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    it.hItem = i;
    BOOL ok = static_cast<BOOL>(SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    image = it.iImage;
    selImage = it.iSelectedImage;
    return ok;
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* flags) const {
    TVHITTESTINFO hit{};
    hit.pt = pt;
    auto item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (flags) *flags = hit.flags;
    return item;
}

int CTabCtrl::InsertItem(int i, const char* text, int image, LPARAM data) {
    TCITEMA it{};
    it.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    it.pszText = const_cast<char*>(text);
    it.iImage = image;
    it.lParam = data;
    return static_cast<int>(SendMessage(TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&it)));
}

LPARAM CTabCtrl::GetItemData(int i) const {
    TCITEMA it{};
    it.mask = TCIF_PARAM;
    SendMessage(TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&it));
    return it.lParam;
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | style,
                    CRect(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT), parent, 0);
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const char* text, const RECT* r, UINT id) {
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = wnd->m_hWnd;
    ti.uId = id;
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<char*>(text);
    if (r) ti.rect = *r;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::UpdateTipText(const char* text, CWnd* wnd, UINT id) {
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = wnd->m_hWnd;
    ti.uId = id;
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<char*>(text);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}
