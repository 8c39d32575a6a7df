// A dialog button drawn and used as a hyperlink: coloured by state, underlined while the mouse
// rests on it, with a hand cursor. A click asks the shell to open its target; when the shell
// cannot, the parent gets WM_LINK_CLICKED with the control's id instead.
#pragma once
#include <string>

#include "afxwin.h"

// The registered message a link sends its parent (first parameter: the link's control id).
// Registered once, at program start; every sender and handler uses this number.
extern const UINT WM_LINK_CLICKED;

class CLinkButton : public CButton {
public:
    CLinkButton();

    void SetURL(const wchar_t* url);
    void SetPrefix(const std::wstring& prefix);
    // Sets the text and fits the control to it.
    void SetWindowText(const std::wstring& text);
    // An empty text shows what a click opens.
    void SetToolTipText(const std::wstring& text);
    void SetTipColors(COLORREF text, COLORREF background);
    void SetColours(COLORREF link, COLORREF hover, COLORREF visited);

    bool IsVisited() const { return m_visited; }
    bool IsHovering() const { return m_hovering; }
    // The cursor every link shows over its text; null when the system has none.
    static HCURSOR HandCursor();
    // Whether a link's target goes to the shell: an address (http:, https:, mailto:, any case).
    static bool IsShellTarget(const std::wstring& target);

    void PreSubclassWindow() override;
    void DrawItem(LPDRAWITEMSTRUCT dis) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnMouseMove(UINT nFlags, CPoint point) override;
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void OnKillFocus(CWnd* pNewWnd) override;
    LRESULT OnMouseHover(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    void OnClicked();

    DECLARE_MESSAGE_MAP()

private:
    void Click();
    std::wstring Target() const;
    HFONT UnderlineFont();
    void ActivateTip(BOOL on);

    COLORREF m_linkColour;
    COLORREF m_hoverColour = RGB(0, 0, 255);
    COLORREF m_visitedColour = RGB(128, 0, 128);
    COLORREF m_disabledColour;
    bool m_hovering = false;
    bool m_tracking = false;
    bool m_visited = false;
    std::wstring m_url;
    std::wstring m_prefix;
    CFont m_underline;
    CToolTipCtrl m_tip;
    bool m_keyDown = false;
};
