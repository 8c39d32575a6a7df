#include "LinkButton.h"

#include <shellapi.h>

#include <cstring>

extern const UINT WM_LINK_CLICKED = ::RegisterWindowMessageW(L"WM_LINK_CLICKED");

namespace {
constexpr UINT kToolId = 1;
HCURSOR g_hand = nullptr;

// The help viewer's hand where the system still ships it; the system's own hand otherwise,
// as on current Windows and under Wine.
HCURSOR LoadHandCursor() {
    wchar_t path[MAX_PATH] = L"";
    ::GetWindowsDirectoryW(path, MAX_PATH);
    lstrcatW(path, L"\\Winhlp32.exe");
    if (HMODULE help = ::LoadLibraryW(path)) {
        if (HCURSOR c = ::LoadCursorW(help, MAKEINTRESOURCEW(106))) return c;  // the module stays loaded
        ::FreeLibrary(help);
    }
    return ::LoadCursor(nullptr, IDC_HAND);
}
}  // namespace

const MsgMap CLinkButton::messageMap{&CButton::messageMap, {
    msg::Message(WM_MOUSEHOVER, &CLinkButton::OnMouseHover),
    msg::Message(WM_MOUSELEAVE, &CLinkButton::OnMouseLeave),
    msg::ControlReflect(BN_CLICKED, &CLinkButton::OnClicked),
}};

CLinkButton::CLinkButton()
    : m_linkColour(::GetSysColor(COLOR_HIGHLIGHT)), m_disabledColour(::GetSysColor(COLOR_GRAYTEXT)) {
    if (!g_hand) g_hand = LoadHandCursor();
}

HCURSOR CLinkButton::HandCursor() { return g_hand; }

void CLinkButton::SetURL(const wchar_t* url) { m_url = url ? url : L""; }
void CLinkButton::SetPrefix(const std::wstring& prefix) { m_prefix = prefix; }

void CLinkButton::SetColours(COLORREF link, COLORREF hover, COLORREF visited) {
    m_linkColour = link;
    m_hoverColour = hover;
    m_visitedColour = visited;
    if (IsWindow()) Invalidate();
}

void CLinkButton::SetWindowText(const std::wstring& text) {
    CButton::SetWindowText(text);
    // Measured in the control's own font: the client DC alone carries the system font.
    CClientDC dc(this);
    HGDIOBJ old = GetFont() ? dc.SelectObject(GetFont()) : nullptr;
    SIZE size{};
    ::GetTextExtentPoint32W(dc.m_hDC, text.c_str(), static_cast<int>(text.size()), &size);
    if (old) dc.SelectObject(old);
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

std::wstring CLinkButton::Target() const { return m_prefix + (m_url.empty() ? GetWindowText() : m_url); }

void CLinkButton::SetToolTipText(const std::wstring& text) {
    std::wstring tip = text.empty() ? Target() : text;
    if (!m_tip.IsWindow()) {
        m_tip.Create(this);
        m_tip.Activate(FALSE);
    }
    if (m_tip.GetToolCount() == 0) {
        CRect r;
        GetClientRect(&r);
        m_tip.AddTool(this, tip.c_str(), &r, kToolId);
    }
    m_tip.UpdateTipText(tip.c_str(), this, kToolId);
}

void CLinkButton::SetTipColors(COLORREF text, COLORREF background) {
    if (!m_tip.IsWindow()) return;
    m_tip.SendMessage(TTM_SETTIPTEXTCOLOR, text);
    m_tip.SendMessage(TTM_SETTIPBKCOLOR, background);
}

void CLinkButton::ActivateTip(BOOL on) {
    if (m_tip.IsWindow() && m_tip.GetToolCount() > 0) m_tip.Activate(on);
}

void CLinkButton::PreSubclassWindow() {
    CButton::PreSubclassWindow();
    // Only DrawItem draws the control, and it never takes Enter as a dialog's default button.
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
}

HFONT CLinkButton::UnderlineFont() {
    if (!m_underline.GetSafeHandle()) {
        HGDIOBJ font = GetFont();
        LOGFONTW lf{};
        if (!font || !::GetObjectW(font, sizeof lf, &lf)) ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
        lf.lfUnderline = TRUE;
        m_underline.CreateFontIndirectW(&lf);
    }
    return m_underline;
}

void CLinkButton::DrawItem(LPDRAWITEMSTRUCT dis) {
    CDC dc(dis->hDC);
    RECT r = dis->rcItem;
    // An owner-drawn button leaves its background to its owner: the parent's button brush
    // clears what the last state drew (an underline, above all).
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(m_hWnd), WM_CTLCOLORBTN,
                                                         reinterpret_cast<WPARAM>(dc.m_hDC),
                                                         reinterpret_cast<LPARAM>(m_hWnd)));
    if (brush) ::FillRect(dc.m_hDC, &r, brush);
    if (dis->itemState & ODS_FOCUS) ::DrawFocusRect(dc.m_hDC, &r);

    HFONT font = UnderlineFont();
    COLORREF colour = m_linkColour;
    if (!IsWindowEnabled()) {
        colour = m_disabledColour;
        font = GetFont();
    } else if (m_hovering) {
        colour = m_hoverColour;
    } else {
        colour = m_visited ? m_visitedColour : m_linkColour;
        font = GetFont();
    }
    HGDIOBJ oldFont = font ? dc.SelectObject(font) : nullptr;
    dc.SetTextColor(colour);
    dc.SetBkMode(TRANSPARENT);
    std::wstring text = GetWindowText();
    ::DrawTextW(dc.m_hDC, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_LEFT | DT_TOP);
    if (oldFont) dc.SelectObject(oldFont);
}

void CLinkButton::OnMouseMove(UINT nFlags, CPoint point) {
    if (!m_tracking) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_HOVER | TME_LEAVE, m_hWnd, 1};
        m_tracking = ::_TrackMouseEvent(&tme) != FALSE;
    }
    CButton::OnMouseMove(nFlags, point);
}

LRESULT CLinkButton::OnMouseHover(WPARAM, LPARAM) {
    m_hovering = true;
    Invalidate();
    ActivateTip(TRUE);
    return 0;
}

LRESULT CLinkButton::OnMouseLeave(WPARAM, LPARAM) {
    m_tracking = false;
    m_hovering = false;
    Invalidate();
    ActivateTip(FALSE);
    return 0;
}

BOOL CLinkButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (nHitTest == HTCLIENT && g_hand) {
        ::SetCursor(g_hand);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CLinkButton::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    Invalidate();  // the focus rectangle goes
}

void CLinkButton::OnClicked() {
    if (IsWindowEnabled()) Click();
}

bool CLinkButton::IsShellTarget(const std::wstring& target) {
    for (const wchar_t* scheme : {L"http:", L"https:", L"mailto:"})
        if (_wcsnicmp(target.c_str(), scheme, wcslen(scheme)) == 0) return true;
    return false;
}

void CLinkButton::Click() {
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    std::wstring target = Target();
    // Anything but an address ("Details...") would be looked for as a program to run.
    INT_PTR result = IsShellTarget(target)
                         ? reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_HIDE))
                         : SE_ERR_FNF;
    HWND self = m_hWnd;
    if (result < 32) ::SendMessageW(::GetParent(self), WM_LINK_CLICKED, static_cast<WPARAM>(GetDlgCtrlID()), 0);
    ::SetCursor(previous);
    // The parent may have closed the page that holds the link.
    if (!StillOwns(self)) return;
    m_visited = true;
    m_hovering = false;
    Invalidate();
}

BOOL CLinkButton::PreTranslateMessage(MSG* pMsg) {
    // Enter clicks on its way up, as a link does; Space, which would click a button, does not.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_SPACE || pMsg->wParam == VK_RETURN)) {
        m_keyDown = true;
        return TRUE;
    }
    if (pMsg->message == WM_KEYUP && pMsg->wParam == VK_SPACE) return TRUE;
    if (pMsg->message == WM_KEYUP && pMsg->wParam == VK_RETURN && m_keyDown) {
        m_keyDown = false;
        if (IsWindowEnabled()) Click();
        return TRUE;
    }
    if (m_tip.IsWindow()) m_tip.RelayEvent(pMsg);
    m_keyDown = false;
    return CButton::PreTranslateMessage(pMsg);
}
