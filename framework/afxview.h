// Views: the window of a document inside a frame; scrolling views; views from dialog templates.
#pragma once
#include "afxframe.h"

class CDataExchange;

class CView : public CWnd {
public:
    ~CView() override;
    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    virtual BOOL CreateViewWindow(DWORD style, const RECT& r, CWnd* pParent, UINT nID, CCreateContext* pContext);
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) { (void)pDC; }
    virtual void OnPrepareDC(CDC* pDC) { (void)pDC; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTA lpcs) override;
    void OnPaint() override;
    void PostNcDestroy() override { delete this; }

    CDocument* m_pDocument = nullptr;

protected:
    CCreateContext* m_pCreateContext = nullptr;
};

class CScrollView : public CView {
public:
    void SetScrollSizes(int mapMode, SIZE total, SIZE page = {0, 0}, SIZE line = {0, 0});
    CSize GetTotalSize() const { return m_totalDev; }
    CPoint GetScrollPosition() const;
    void OnPrepareDC(CDC* pDC) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnHScroll(UINT nSBCode, UINT nPos, HWND hScrollBar) override;
    void OnVScroll(UINT nSBCode, UINT nPos, HWND hScrollBar) override;

protected:
    void UpdateBars();
    void ScrollBy(int bar, UINT code, UINT pos);
    int m_nMapMode = 0;
    CSize m_totalDev, m_pageDev, m_lineDev;
};

// A view laid out by a dialog template; its controls are exchanged at the initial update.
class CFormView : public CScrollView {
public:
    explicit CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}
    BOOL CreateViewWindow(DWORD style, const RECT& r, CWnd* pParent, UINT nID, CCreateContext* pContext) override;
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    UINT GetTemplateId() const { return m_nIDTemplate; }

protected:
    UINT m_nIDTemplate;
};

// The dialog template of a resource with its window style changed, ready for the Indirect calls.
std::vector<BYTE> AfxLoadDialogTemplate(UINT id, DWORD removeStyle = 0, DWORD addStyle = 0);
