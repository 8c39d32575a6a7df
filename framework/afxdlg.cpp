#include "afxdlg.h"

#include <cstdlib>

#include "afxapp.h"
#include "afxview.h"

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) return;
    rControl.SubclassWindow(pDX->PrepareCtrl(nIDC));
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int n = ::GetWindowTextLengthW(h);
        CString s(static_cast<size_t>(n) + 1, '\0');
        n = ::GetWindowTextW(h, s.data(), n + 1);
        s.resize(n > 0 ? static_cast<size_t>(n) : 0);
        value = s;
    } else {
        ::SetWindowTextW(h, value.c_str());
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    CString s = std::to_wstring(value);
    DDX_Text(pDX, nIDC, s);
    if (pDX->m_bSaveAndValidate) value = _wtoi(s.c_str());
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(h, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) value = -1;
    int index = 0;
    do {
        if (::SendMessageW(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
            } else {
                ::SendMessageW(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        h = ::GetWindow(h, GW_HWNDNEXT);
    } while (h && !(::GetWindowLongPtrW(h, GWL_STYLE) & WS_GROUP));
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND h = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int sel = static_cast<int>(::SendMessageW(h, LB_GETCURSEL, 0, 0));
        value.clear();
        if (sel != LB_ERR) {
            int n = static_cast<int>(::SendMessageW(h, LB_GETTEXTLEN, sel, 0));
            CString s(static_cast<size_t>(n) + 1, '\0');
            n = static_cast<int>(::SendMessageW(h, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(s.data())));
            s.resize(n > 0 ? static_cast<size_t>(n) : 0);
            value = s;
        }
    } else if (value.empty()) {
        ::SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    } else {
        ::SendMessageW(h, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str()));
    }
}

// ---- CDialog ----

const MsgMap CDialog::messageMap{&CWnd::messageMap, {
    msg::Command(IDOK, &CDialog::OnOK),
    msg::Command(IDCANCEL, &CDialog::OnCancel),
}};

HWND CDialog::OwnerWindow() const {
    if (m_pParentWnd && m_pParentWnd->m_hWnd) return m_pParentWnd->m_hWnd;
    CWnd* main = AfxGetMainWnd();
    return main && main->IsWindow() ? main->m_hWnd : nullptr;
}

INT_PTR CDialog::DoModal() {
    std::vector<BYTE> t = AfxLoadDialogTemplate(m_nIDTemplate);
    if (t.empty()) return -1;
    m_bModal = true;
    AfxHookWindowCreate(this, L"#32770");
    INT_PTR r = ::DialogBoxIndirectParamW(AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()),
                                          OwnerWindow(), AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    m_bModal = false;
    return r;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParent) {
    m_nIDTemplate = nIDTemplate;
    if (pParent) m_pParentWnd = pParent;
    std::vector<BYTE> t = AfxLoadDialogTemplate(m_nIDTemplate);
    if (t.empty()) return FALSE;
    AfxHookWindowCreate(this, L"#32770");
    HWND h = ::CreateDialogIndirectParamW(AfxGetInstanceHandle(), reinterpret_cast<LPCDLGTEMPLATEW>(t.data()),
                                          OwnerWindow(), AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return h != nullptr;
}

void CDialog::EndDialog(int nResult) {
    if (!m_hWnd) return;
    if (m_bModal)
        ::EndDialog(m_hWnd, nResult);
    else
        ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (m_bModal) return FALSE;  // the system's modal loop does the dialog keys itself
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) return ::IsDialogMessageW(m_hWnd, pMsg);
    return FALSE;
}
