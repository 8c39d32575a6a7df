// Thin typed wrappers of the standard and common controls: each method is one message.
#pragma once
#include "afxwnd.h"

class CStatic : public CWnd {
public:
    BOOL Create(const wchar_t* text, DWORD style, const RECT& r, CWnd* parent, UINT id = 0xFFFF) {
        return CWnd::Create(L"STATIC", text, style, r, parent, id);
    }
    HBITMAP SetBitmap(HBITMAP b) {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(b)));
    }
    HICON SetIcon(HICON i) { return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(i))); }
};

class CButton : public CWnd {
public:
    BOOL Create(const wchar_t* text, DWORD style, const RECT& r, CWnd* parent, UINT id) {
        return CWnd::Create(L"BUTTON", text, style, r, parent, id);
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
    UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
    // Owner-drawn buttons draw here; the parent hands WM_DRAWITEM back to the button.
    virtual void DrawItem(LPDRAWITEMSTRUCT) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        if (message == WM_DRAWITEM) {
            DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            *pResult = TRUE;
            return TRUE;
        }
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
};

class CEdit : public CWnd {
public:
    void SetSel(int start, int end) { SendMessage(EM_SETSEL, start, end); }
    void ReplaceSel(const wchar_t* text) { SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text)); }
};

class CListBox : public CWnd {
public:
    int AddString(const CString& s) { return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()))); }
    int InsertString(int i, const CString& s) { return static_cast<int>(SendMessage(LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(s.c_str()))); }
    int DeleteString(int i) { return static_cast<int>(SendMessage(LB_DELETESTRING, i)); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetCurSel(int i) { return static_cast<int>(SendMessage(LB_SETCURSEL, i)); }
    void ResetContent() { SendMessage(LB_RESETCONTENT); }
    CString GetText(int i) const;
};

class CComboBox : public CWnd {
public:
    int AddString(const std::wstring& s) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()))); }
    int DeleteString(int i) { return static_cast<int>(SendMessage(CB_DELETESTRING, i)); }
    int FindStringExact(const std::wstring& s) const {
        return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str())));
    }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int i) { return static_cast<int>(SendMessage(CB_SETCURSEL, i)); }
    void ResetContent() { SendMessage(CB_RESETCONTENT); }
    std::wstring GetLBText(int i) const;
};

class CImageList {
public:
    HIMAGELIST m_hImageList = nullptr;
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { DeleteImageList(); }
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow) {
        DeleteImageList();
        m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
        return m_hImageList != nullptr;
    }
    // A strip of images from a bitmap resource, cx pixels each, with a mask colour.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL DeleteImageList() {
        if (!m_hImageList) return FALSE;
        ImageList_Destroy(m_hImageList);
        m_hImageList = nullptr;
        return TRUE;
    }
    int Add(HICON icon) { return ImageList_ReplaceIcon(m_hImageList, -1, icon); }
    int Replace(int i, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, i, icon); }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
};

class CListCtrl : public CWnd {
public:
    int InsertColumn(int col, const wchar_t* heading, int format = LVCFMT_LEFT, int width = -1);
    int InsertItem(int index, const CString& text, int image = -1);
    int InsertItem(const LVITEMW* item) { return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item))); }
    BOOL SetItemText(int item, int sub, const CString& text);
    CString GetItemText(int item, int sub) const;
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    BOOL DeleteItem(int i) { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, i)); }
    BOOL DeleteAllItems() { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL GetCheck(int i) const {
        return ((static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK)) >> 12) - 1) != 0;
    }
    BOOL SetCheck(int i, BOOL check = TRUE);
    DWORD SetExtendedStyle(DWORD style) { return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style)); }
    DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    HIMAGELIST SetImageList(HIMAGELIST il, int which) {
        return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(il)));
    }
    BOOL SetColumnWidth(int col, int cx) { return static_cast<BOOL>(SendMessage(LVM_SETCOLUMNWIDTH, col, cx)); }
    int GetColumnWidth(int col) const { return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, col)); }
    BOOL GetItemRect(int i, RECT* r, int code) const {
        r->left = code;
        return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(r)));
    }
    int GetCountPerPage() const { return static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE)); }
    int GetTopIndex() const { return static_cast<int>(SendMessage(LVM_GETTOPINDEX)); }
};

class CTreeCtrl : public CWnd {
public:
    HTREEITEM InsertItem(const TVINSERTSTRUCTW* tis) {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(tis)));
    }
    HTREEITEM InsertItem(const CString& text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(const CString& text, int image, int selImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM i) { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(i))); }
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    BOOL Expand(HTREEITEM i, UINT code) { return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(i))); }
    BOOL SortChildren(HTREEITEM i) { return static_cast<BOOL>(SendMessage(TVM_SORTCHILDREN, FALSE, reinterpret_cast<LPARAM>(i))); }
    HTREEITEM GetNextItem(HTREEITEM i, UINT code) const {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(i)));
    }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM i) const { return GetNextItem(i, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM i) const { return GetNextItem(i, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM i) const { return GetNextItem(i, TVGN_PARENT); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM i) const { return GetNextItem(i, TVGN_NEXTVISIBLE); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    BOOL SelectItem(HTREEITEM i) { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(i))); }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
    CString GetItemText(HTREEITEM i) const;
    UINT GetItemState(HTREEITEM i, UINT mask) const;
    HTREEITEM HitTest(CPoint pt, UINT* flags = nullptr) const;
    HIMAGELIST SetImageList(HIMAGELIST il, int which) {
        return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(il)));
    }
    BOOL GetItemImage(HTREEITEM i, int& image, int& selImage) const;
};

class CTabCtrl : public CWnd {
public:
    int InsertItem(int i, const wchar_t* text, int image, LPARAM data);
    int GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
    int SetCurSel(int i) { return static_cast<int>(SendMessage(TCM_SETCURSEL, i)); }
    LPARAM GetItemData(int i) const;
    HIMAGELIST SetImageList(HIMAGELIST il) { return reinterpret_cast<HIMAGELIST>(SendMessage(TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(il))); }
    void AdjustRect(BOOL larger, RECT* r) { SendMessage(TCM_ADJUSTRECT, larger, reinterpret_cast<LPARAM>(r)); }
};

class CDateTimeCtrl : public CWnd {
public:
    // GDT_VALID, GDT_NONE or GDT_ERROR, as the control answers.
    DWORD GetTime(SYSTEMTIME* t) const { return static_cast<DWORD>(SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(t))); }
    BOOL SetTime(const SYSTEMTIME* t) { return static_cast<BOOL>(SendMessage(DTM_SETSYSTEMTIME, t ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(t))); }
};

class CToolTipCtrl : public CWnd {
public:
    BOOL Create(CWnd* parent, DWORD style = 0);
    BOOL AddTool(CWnd* wnd, const wchar_t* text, const RECT* r, UINT id);
    void UpdateTipText(const wchar_t* text, CWnd* wnd, UINT id);
    int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
    void Activate(BOOL on) { SendMessage(TTM_ACTIVATE, on); }
    void RelayEvent(MSG* m) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(m)); }
};
