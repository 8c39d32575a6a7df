#include "afxctrls.h"
#include "afxdpi.h"

CString CListBox::GetText(int i) const {
    int n = static_cast<int>(SendMessage(LB_GETTEXTLEN, i));
    if (n < 0) return CString();
    CString s(static_cast<size_t>(n) + 1, '\0');
    n = static_cast<int>(SendMessage(LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data())));
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}

std::wstring CComboBox::GetLBText(int i) const {
    int n = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, i));
    if (n < 0) return std::wstring();
    std::wstring s(static_cast<size_t>(n) + 1, '\0');
    n = static_cast<int>(SendMessage(CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(s.data())));
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return s;
}

// Scaled to the screen's DPI.
BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
    DeleteImageList();
    auto strip = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0,
                                                   LR_CREATEDIBSECTION));
    BITMAP bm{};
    if (!strip || !::GetObjectW(strip, sizeof bm, &bm) || cx <= 0) {
        if (strip) ::DeleteObject(strip);
        return FALSE;
    }
    // Stretched pixel by pixel (no blending), so that the mask colour stays exact.
    const int count = bm.bmWidth / cx, width = AfxScaled(cx), height = AfxScaled(bm.bmHeight);
    HDC screen = ::GetDC(nullptr);
    HDC from = ::CreateCompatibleDC(screen), to = ::CreateCompatibleDC(screen);
    HBITMAP scaled = ::CreateCompatibleBitmap(screen, count * width, height);
    HGDIOBJ oldFrom = ::SelectObject(from, strip), oldTo = ::SelectObject(to, scaled);
    ::SetStretchBltMode(to, COLORONCOLOR);
    ::StretchBlt(to, 0, 0, count * width, height, from, 0, 0, count * cx, bm.bmHeight, SRCCOPY);
    ::SelectObject(from, oldFrom);
    ::SelectObject(to, oldTo);
    ::DeleteDC(from);
    ::DeleteDC(to);
    ::ReleaseDC(nullptr, screen);
    m_hImageList = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, grow);
    if (m_hImageList) ImageList_AddMasked(m_hImageList, scaled, mask);
    ::DeleteObject(scaled);
    ::DeleteObject(strip);
    return m_hImageList != nullptr;
}

int CListCtrl::InsertColumn(int col, const wchar_t* heading, int format, int width) {
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    c.fmt = format;
    c.pszText = const_cast<wchar_t*>(heading);
    c.iSubItem = col;
    if (width >= 0) {
        c.mask |= LVCF_WIDTH;
        c.cx = width;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, col, reinterpret_cast<LPARAM>(&c)));
}

int CListCtrl::InsertItem(int index, const CString& text, int image) {
    LVITEMW it{};
    it.mask = LVIF_TEXT;
    it.iItem = index;
    it.pszText = const_cast<wchar_t*>(text.c_str());
    if (image >= 0) {
        it.mask |= LVIF_IMAGE;
        it.iImage = image;
    }
    return InsertItem(&it);
}

BOOL CListCtrl::SetItemText(int item, int sub, const CString& text) {
    LVITEMW it{};
    it.iSubItem = sub;
    it.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&it)));
}

CString CListCtrl::GetItemText(int item, int sub) const {
    CString buf(1024, '\0');
    LVITEMW it{};
    it.iSubItem = sub;
    it.pszText = buf.data();
    it.cchTextMax = static_cast<int>(buf.size());
    int n = static_cast<int>(SendMessage(LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&it)));
    buf.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return buf;
}

BOOL CListCtrl::SetCheck(int i, BOOL check) {
    LVITEMW it{};
    it.stateMask = LVIS_STATEIMAGEMASK;
    it.state = INDEXTOSTATEIMAGEMASK(check ? 2 : 1);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&it)));
}

HTREEITEM CTreeCtrl::InsertItem(const CString& text, HTREEITEM parent, HTREEITEM after) {
    TVINSERTSTRUCTW tis{};
    tis.hParent = parent;
    tis.hInsertAfter = after;
    tis.item.mask = TVIF_TEXT;
    tis.item.pszText = const_cast<wchar_t*>(text.c_str());
    return InsertItem(&tis);
}

HTREEITEM CTreeCtrl::InsertItem(const CString& text, int image, int selImage, HTREEITEM parent,
                                HTREEITEM after) {
    TVINSERTSTRUCTW tis{};
    tis.hParent = parent;
    tis.hInsertAfter = after;
    tis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tis.item.pszText = const_cast<wchar_t*>(text.c_str());
    tis.item.iImage = image;
    tis.item.iSelectedImage = selImage;
    return InsertItem(&tis);
}

CString CTreeCtrl::GetItemText(HTREEITEM i) const {
    wchar_t buf[1024] = L"";
    TVITEMW it{};
    it.mask = TVIF_TEXT;
    it.hItem = i;
    it.pszText = buf;
    it.cchTextMax = ARRAYSIZE(buf);
    if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return CString();
    return buf;
}

UINT CTreeCtrl::GetItemState(HTREEITEM i, UINT mask) const {
    TVITEMW it{};
    it.mask = TVIF_STATE;
    it.hItem = i;
    it.stateMask = mask;
    SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    return it.state & mask;
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM i, int& image, int& selImage) const {
    TVITEMW it{};
    it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    it.hItem = i;
    BOOL ok = static_cast<BOOL>(SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)));
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

int CTabCtrl::InsertItem(int i, const wchar_t* text, int image, LPARAM data) {
    TCITEMW it{};
    it.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    it.pszText = const_cast<wchar_t*>(text);
    it.iImage = image;
    it.lParam = data;
    return static_cast<int>(SendMessage(TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&it)));
}

LPARAM CTabCtrl::GetItemData(int i) const {
    TCITEMW it{};
    it.mask = TCIF_PARAM;
    SendMessage(TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&it));
    return it.lParam;
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | style,
                    CRect(CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT), parent, 0);
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const wchar_t* text, const RECT* r, UINT id) {
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = wnd->m_hWnd;
    ti.uId = id;
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<wchar_t*>(text);
    if (r) ti.rect = *r;
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::UpdateTipText(const wchar_t* text, CWnd* wnd, UINT id) {
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = wnd->m_hWnd;
    ti.uId = id;
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<wchar_t*>(text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}
