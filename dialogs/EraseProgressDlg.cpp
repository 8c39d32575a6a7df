#include "EraseProgressDlg.h"

#include <memory>

#include "resource.h"

namespace {
std::atomic<CEraseProgressDlg*> g_current{nullptr};
const UINT WM_PROGRESS_PATH = WM_APP + 1;  // lParam: a std::wstring* the dialog deletes
const UINT WM_PROGRESS_END = WM_APP + 2;   // wParam: the result
}  // namespace

const MsgMap CEraseProgressDlg::messageMap{&CDialog::messageMap, {
    msg::Command(IDC_PROGRESS_CANCEL, &CEraseProgressDlg::OnCancel),
}};

CEraseProgressDlg::CEraseProgressDlg() : CDialog(IDD_ERASE_PROGRESS, nullptr) {}

CEraseProgressDlg* CEraseProgressDlg::Current() { return g_current.load(); }

void CEraseProgressDlg::Reset() {
    m_bCancelled = false;
    m_bEndRequested = false;
}

void CEraseProgressDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_PATH, m_path);
    DDX_Control(pDX, IDC_PROGRESS_ANIMATION, m_picture);
}

BOOL CEraseProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_picture.Load(MAKEINTRESOURCEW(312), L"GIF")) m_picture.Draw();
    g_current = this;
    m_bCancelled = false;
    m_hWndShown = m_hWnd;
    // A walk that finished before the dialog appeared still closes it.
    if (m_bEndRequested) PostMessage(WM_PROGRESS_END, static_cast<WPARAM>(m_endResult));
    return TRUE;
}

void CEraseProgressDlg::OnCancel() {
    m_bCancelled = true;
    CDialog::OnCancel();
}

void CEraseProgressDlg::ShowPath(const std::wstring& path) {
    HWND h = m_hWndShown.load();
    auto* text = new std::wstring(path);
    if (!h || !::PostMessageW(h, WM_PROGRESS_PATH, 0, reinterpret_cast<LPARAM>(text))) delete text;
}

void CEraseProgressDlg::RequestEnd(int result) {
    m_endResult = result;
    m_bEndRequested = true;
    if (HWND h = m_hWndShown.load()) ::PostMessageW(h, WM_PROGRESS_END, static_cast<WPARAM>(result), 0);
}

LRESULT CEraseProgressDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PROGRESS_PATH: {
        std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(lParam));
        m_path.SetWindowText(*text);
        return 0;
    }
    case WM_PROGRESS_END:
        EndDialog(static_cast<int>(wParam));
        return 0;
    case WM_DESTROY: {
        m_hWndShown = nullptr;
        CEraseProgressDlg* self = this;
        g_current.compare_exchange_strong(self, nullptr);
        m_picture.Stop();
        // Paths still queued for this window would leak their text.
        MSG m;
        while (::PeekMessageW(&m, m_hWnd, WM_PROGRESS_PATH, WM_PROGRESS_PATH, PM_REMOVE))
            delete reinterpret_cast<std::wstring*>(m.lParam);
        break;
    }
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
