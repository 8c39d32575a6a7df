// Frame windows: single frames, the MDI main frame and MDI child frames.
#pragma once
#include "afxdoc.h"
#include "afxres.h"

class CView;

class CFrameWnd : public CWnd {
public:
    // Creates the frame from resource nIDResource: title string, icon, menu and accelerators.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParent = nullptr, CCreateContext* pContext = nullptr);
    virtual BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext);
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    virtual CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pView) { m_pViewActive = pView; }
    virtual CDocument* GetActiveDocument();
    virtual void ActivateFrame(int nCmdShow = -1);
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // Lays the bars and the client pane out in the client area.
    virtual void RecalcLayout();
    const std::string& GetTitle() const { return m_strTitle; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    int OnCreate(LPCREATESTRUCTA lpcs) override;
    void OnClose() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void PostNcDestroy() override;

    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;
    UINT m_nIDHelp = 0;

protected:
    virtual const char* FrameClassName(UINT iconId);
    CWnd* PaneWindow() const;
    std::string m_strTitle;
    CView* m_pViewActive = nullptr;
    CCreateContext* m_pCreateContext = nullptr;
};

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
public:
    BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext) override;
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
    const char* FrameClassName(UINT iconId) override;
};
