// Sizeable control bars that dock on any side of an MDI frame, resize by a splitter edge and
// float in a small tool window when dragged off the frame.
#pragma once
#include "afxwin.h"

class CMRCSizeControlBar;
class CMRCFloatFrame;

// An MDI frame whose sides take sizeable bars (and the usual fixed ones).
class CMRCMDIFrameWndSizeDock : public CMDIFrameWnd {
public:
    // Moves the bar into its tool window, whose top left corner goes to pt (screen).
    void FloatControlBar(CMRCSizeControlBar* pBar, CPoint pt);
    // The part of the client area the bar docks into: what the bars before it leave.
    CRect DockArea(const CControlBar* pBar);
    // The side that a bar dragged to pt (screen) would dock on, 0 for none; docked receives the
    // screen rectangle it would take there.
    UINT DockSideAt(CMRCSizeControlBar* pBar, POINT pt, RECT* docked);
};

class CMRCSizeControlBar : public CControlBar {
public:
    enum { kGripperNone = 0, kGripperLines = 2, kGripperCaption = 4 };
    // Why OnSizedOrDocked was called.
    enum { kSized = 1, kDocked = 2, kFloated = 4 };

    explicit CMRCSizeControlBar(int nGripperStyle = kGripperCaption);
    ~CMRCSizeControlBar() override;

    // dwStyle: window style with the bar's alignment (CBRS_LEFT, ...). The size is the bar's
    // width when docked left or right, its height at the top or bottom, and the floating size.
    BOOL Create(const wchar_t* title, CWnd* pParent, CSize sizeDefault, UINT nID,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_LEFT);

    // Whether the bar sits in its tool window now.
    BOOL IsProbablyFloating() const;
    BOOL IsFloating() const override { return IsProbablyFloating(); }
    BOOL IsVisible() const override;
    void ShowBar(BOOL bShow) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    void SetDockSide(UINT side) override;

    // Floats the bar with its tool window's top left at pt (screen).
    void Float(CPoint pt);
    // Floats a docked bar where it floated last, or docks a floating one where it was docked.
    void ToggleDocking();
    // The drags a person makes: moving the bar (from the gripper, an empty part of the bar or
    // the tool window's caption) and sizing it by its splitter edge. Both end with the button.
    void TrackMove(CPoint screenStart);
    void TrackSplitter(CPoint screenStart);
    // The gripper and splitter in screen coordinates (empty when floating).
    CRect GripperRectOnScreen() const { return PartOnScreen(false); }
    CRect SplitterRectOnScreen() const { return PartOnScreen(true); }
    CMRCFloatFrame* FloatFrame() const { return m_pFloat; }
    const CString& Title() const { return m_strTitle; }

protected:
    // Called whenever the bar is sized, docked or floated: the place to lay out its contents.
    virtual void OnSizedOrDocked(int cx, int cy, BOOL bFloating, int flags);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnLButtonDblClk(UINT nFlags, CPoint point) override;

private:
    enum class Part { None, Client, Gripper, Splitter };
    int GripperHeight() const;
    bool HorizontalSide() const;
    void ApplyNonClient(RECT* r) const;
    void PartRects(CRect* gripper, CRect* splitter) const;  // window coordinates
    CRect PartOnScreen(bool splitter) const;
    Part PartAt(POINT screen) const;
    void PaintNonClient();
    void NotifyLayout(int flags);
    CMRCMDIFrameWndSizeDock* DockFrame() const;
    CSize FloatWindowSize() const;
    LONG& DockedThickness();

    int m_nGripper;
    CString m_strTitle;
    CSize m_sizeHorz, m_sizeVert, m_sizeFloat;
    CPoint m_ptFloat{-1, -1};
    UINT m_nLastDockSide = AFX_IDW_DOCKBAR_LEFT;
    CMRCFloatFrame* m_pFloat = nullptr;
};

// The small tool window a floating bar lives in. Its caption drags the bar; closing it hides
// the bar.
class CMRCFloatFrame : public CWnd {
public:
    BOOL Create(CFrameWnd* pOwner, CMRCSizeControlBar* pBar);
    static DWORD Style() { return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN; }
    static DWORD ExStyle() { return WS_EX_TOOLWINDOW; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CMRCSizeControlBar* m_pBar = nullptr;
};

// The outline that shows where a dragged bar would go.
class CMRCDragOutline {
public:
    CMRCDragOutline() = default;
    CMRCDragOutline(const CMRCDragOutline&) = delete;
    CMRCDragOutline& operator=(const CMRCDragOutline&) = delete;
    ~CMRCDragOutline();
    void Show(const RECT& screen);
    void Hide();

private:
    HWND m_hWnd = nullptr;
    CRect m_rect;
};
