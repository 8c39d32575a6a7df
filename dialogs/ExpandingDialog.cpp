#include "ExpandingDialog.h"

#include <algorithm>

namespace {
// Moves the window into its monitor's work area when it reaches past it. DM_REPOSITION does
// this on Windows; Wine leaves the message unanswered.
void KeepInWorkArea(HWND h) {
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (!::GetMonitorInfoW(::MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &mi)) return;
    CRect r, work(mi.rcWork);
    ::GetWindowRect(h, &r);
    int x = std::max(work.left, std::min(r.left, work.right - r.Width()));
    int y = std::max(work.top, std::min(r.top, work.bottom - r.Height()));
    if (x != r.left || y != r.top)
        ::SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

CExpandingDialog::CExpandingDialog(UINT nIDTemplate, CWnd* pParent, int defaultBoxId, int expandButtonId,
                                   const wchar_t* reducedText, const wchar_t* expandedText, BOOL changeText)
    : CDialog(nIDTemplate, pParent),
      m_reducedText(reducedText),
      m_expandedText(expandedText),
      m_defaultBoxId(defaultBoxId),
      m_expandButtonId(expandButtonId),
      m_bChangeText(changeText) {}

BOOL CExpandingDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    Reduce();
    return TRUE;
}

CRect CExpandingDialog::DefaultBoxRect() const {
    CRect r;
    ::GetWindowRect(::GetDlgItem(m_hWnd, m_defaultBoxId), &r);
    return r;
}

void CExpandingDialog::EnableOutsideControls(BOOL enable) {
    CRect box = DefaultBoxRect();
    for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        CRect r, common;
        ::GetWindowRect(c, &r);
        if (!::IntersectRect(&common, &r, &box)) ::EnableWindow(c, enable);
    }
}

void CExpandingDialog::Reduce() {
    EnableOutsideControls(FALSE);
    CRect window;
    GetWindowRect(&window);
    if (m_fullSize.cx == 0) {
        m_fullSize = CSize(window.Width(), window.Height());
        ::ShowWindow(::GetDlgItem(m_hWnd, m_defaultBoxId), SW_HIDE);
    }
    CRect box = DefaultBoxRect();
    SetWindowPos(nullptr, 0, 0, box.right - window.left, box.bottom - window.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetDlgItemText(m_expandButtonId, m_reducedText);
    m_bExpanded = FALSE;
}

void CExpandingDialog::Enlarge() {
    EnableOutsideControls(TRUE);
    SetWindowPos(nullptr, 0, 0, m_fullSize.cx, m_fullSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessage(DM_REPOSITION);  // the grown window may reach past the screen's edge
    KeepInWorkArea(m_hWnd);
    if (m_bChangeText) SetDlgItemText(m_expandButtonId, m_expandedText);
    m_bExpanded = TRUE;
}

void CExpandingDialog::Expand(BOOL expand) {
    if (!expand == !m_bExpanded) return;
    if (expand)
        Enlarge();
    else
        Reduce();
}

BOOL CExpandingDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND button = reinterpret_cast<HWND>(lParam);
    if (button && LOWORD(wParam) == static_cast<UINT>(m_expandButtonId) && HIWORD(wParam) == BN_CLICKED) {
        if (OnDialogExpanding(m_bExpanded)) {
            Expand(!m_bExpanded);
            OnDialogExpanded(m_bExpanded);
        }
        if (HWND next = ::GetNextDlgTabItem(m_hWnd, button, FALSE))
            SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
    }
    return CDialog::OnCommand(wParam, lParam);
}
