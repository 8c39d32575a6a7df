// Control bars: the common base of the bars a frame lays out around its client pane, the
// toolbar and the status bar.
#pragma once
#include "afxctrls.h"
#include "afxframe.h"

// Bar styles, kept apart from the window style (the low bits of a window style belong to the
// window class).
#define CBRS_FLOATING 0x0001L
#define CBRS_SIZE_FIXED 0x0002L
#define CBRS_SIZE_DYNAMIC 0x0004L
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_FLOAT_MULTI 0x0040L
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ALL 0x0040FFFFL
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// The sides of a frame a bar docks on.
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F

#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif

// The CBRS_ALIGN_ flag of a side, and the side of the first flag set in an alignment.
DWORD AfxAlignOfSide(UINT side);
UINT AfxSideOfAlign(DWORD align);

class CControlBar : public CWnd {
public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    virtual void SetBarStyle(DWORD style) { m_dwStyle = style & CBRS_ALL; }
    // The sides this bar may dock on (CBRS_ALIGN_ flags).
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle & CBRS_ALIGN_ANY; }
    DWORD GetDockStyle() const { return m_dwDockStyle; }

    // Thickness of the bar across a side: horizontal bars (top, bottom) give their height,
    // vertical ones (left, right) their width; bStretch bars span the whole side.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Brings the bar's items up to date for the commands that pTarget routes.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) = 0;
    virtual BOOL IsFloating() const { return FALSE; }
    // Shown, as the user sees it (a floating bar is shown with its tool window).
    virtual BOOL IsVisible() const { return (GetStyle() & WS_VISIBLE) != 0; }
    virtual void ShowBar(BOOL bShow) { ShowWindow(bShow ? SW_SHOWNA : SW_HIDE); }

    // The frame that lays the bar out and routes its commands.
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
    // The side it is docked on (AFX_IDW_DOCKBAR_...); before docking, the side of its alignment.
    UINT GetDockSide() const;
    virtual void SetDockSide(UINT side) { m_nDockSide = side; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

protected:
    // Creates the bar's window: the bar style is taken out of dwStyle.
    BOOL CreateBar(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD dwStyle, const RECT& r,
                   CWnd* pParent, UINT nID);

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    UINT m_nDockSide = 0;
    CFrameWnd* m_pDockSite = nullptr;
};

// A row of command buttons from a toolbar resource (type 241: version 1, image width and height,
// count, then the command of each item, 0 for a separator) and its bitmap of the same id.
class CToolBar : public CControlBar {
public:
    BOOL CreateEx(CWnd* pParent, DWORD ctrlStyle = TBSTYLE_FLAT,
                  DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, UINT nID = AFX_IDW_TOOLBAR);
    BOOL Create(CWnd* pParent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR) {
        return CreateEx(pParent, TBSTYLE_FLAT, style, nID);
    }
    BOOL LoadToolBar(UINT nIDResource);

    int GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
    UINT GetItemID(int index) const;
    void GetItemRect(int index, RECT* r) const { SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(r)); }
    BOOL IsButtonEnabled(UINT id) const { return SendMessage(TB_ISBUTTONENABLED, id) != 0; }
    // The tool tip of a command: the second line of its string resource.
    static CString TipText(UINT id);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL AnswerTipRequest(NMHDR* nm);
    void TrackFlyBy(CPoint pt);
    void SetFlyBy(UINT id);
    CImageList m_images;
    UINT m_nFlyBy = 0;
    bool m_bTrackingLeave = false;
};

// The bar along the bottom: a message pane that stretches, then indicator panes whose text is
// the string of their id, shown while their command is enabled.
class CStatusBar : public CControlBar {
public:
    BOOL Create(CWnd* pParent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    BOOL SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(m_ids.size()); }
    UINT GetItemID(int index) const { return m_ids[static_cast<size_t>(index)]; }
    CString GetPaneText(int index) const;
    BOOL SetPaneText(int index, const CString& text);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHandler) override;
    void OnSize(UINT nType, int cx, int cy) override;

private:
    void UpdateParts();
    std::vector<UINT> m_ids;
    std::vector<CString> m_texts;
    std::vector<int> m_widths;
};
