// Frame windows: single frames, the MDI main frame and MDI child frames.
#pragma once
#include "afxdoc.h"
#include "afxres.h"

class CView;
class CControlBar;

// Sets the status bar's message pane: wParam a string id (its first line is shown) or 0 with
// lParam the text itself.
#ifndef WM_SETMESSAGESTRING
#define WM_SETMESSAGESTRING 0x0362
#endif

class CFrameWnd : public CWnd {
public:
    // Creates the frame from resource nIDResource: title string, icon, menu and accelerators.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParent = nullptr, CCreateContext* pContext = nullptr);
    virtual BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    virtual CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pView) { m_pViewActive = pView; }
    virtual CDocument* GetActiveDocument();
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // Lays the bars and the client pane out in the client area.
    virtual void RecalcLayout();
    const CString& GetTitle() const { return m_strTitle; }

    // Control bars, laid out around the client pane in the order they were made.
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    CControlBar* GetControlBar(UINT nID) const;
    // The sides (CBRS_ALIGN_ flags) on which bars may dock.
    void EnableDocking(DWORD dwDockStyle);
    DWORD GetDockingSides() const { return m_dwDockStyle; }
    // Docks the bar on a side (AFX_IDW_DOCKBAR_...; 0: the side of its alignment) that both the
    // frame and the bar allow; FALSE when they do not.
    BOOL DockControlBar(CControlBar* pBar, UINT nDockBarID = 0);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // Gives each visible docked bar a strip of r on its side and leaves in r what remains; with
    // bMove false it only computes. The walk ends before stopAt.
    void RepositionBars(RECT* r, bool bMove, const CControlBar* stopAt = nullptr);

    // Show or hide the bar with the command's id; FALSE when there is no such bar.
    BOOL OnBarCheck(UINT nID);
    template <UINT nID>
    void OnBarCheckFor() { OnBarCheck(nID); }
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

    // The status bar's message pane: the first line of a string, or a text.
    CWnd* GetMessageBar() const;
    void SetMessageText(UINT nID);
    void SetMessageText(const CString& text);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    int OnCreate(LPCREATESTRUCTW lpcs) override;
    void OnClose() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void PostNcDestroy() override;

    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;
    UINT m_nIDHelp = 0;

protected:
    virtual const wchar_t* FrameClassName(UINT iconId);
    CWnd* PaneWindow() const;
    CString m_strTitle;
    CView* m_pViewActive = nullptr;
    CCreateContext* m_pCreateContext = nullptr;
    std::vector<CControlBar*> m_listControlBars;
    DWORD m_dwDockStyle = 0;
    UINT m_nIDTracking = AFX_IDS_IDLEMESSAGE;  // what the message pane should show
    UINT m_nIDLastMessage = 0;                 // what it shows

    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
public:
    BOOL OnCreateClient(LPCREATESTRUCTW lpcs, CCreateContext* pContext) override;
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    CView* GetActiveView() const override;
    CDocument* GetActiveDocument() override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    void RecalcLayout() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnClose() override;
    // Where the MDI client goes: the client area less what the bars take.
    virtual void GetClientAreaForPane(RECT* r);

    HWND m_hWndMDIClient = nullptr;

    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd {
public:
    BOOL LoadFrame(UINT nIDResource, DWORD style = WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParent = nullptr, CCreateContext* pContext = nullptr) override;
    BOOL DestroyWindow() override;
    void ActivateFrame(int nCmdShow = -1) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    CMDIFrameWnd* GetMDIFrame() const;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT nType, int cx, int cy) override;

    HMENU m_hMenuShared = nullptr;

protected:
    const wchar_t* FrameClassName(UINT iconId) override;
};
