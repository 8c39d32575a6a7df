// Views: the window of a document inside a frame; scrolling views; views from dialog templates.
#pragma once
#include "afxframe.h"

class CDataExchange;

// One print job: the printer chosen in the print dialog (or the default one), the pages to
// print and the page in hand.
struct CPrintInfo {
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;
    void SetMinPage(UINT n) { m_pd.nMinPage = static_cast<WORD>(n); }
    void SetMaxPage(UINT n) { m_pd.nMaxPage = static_cast<WORD>(n); }
    UINT GetMinPage() const { return m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pd.nMaxPage; }
    UINT GetFromPage() const;
    UINT GetToPage() const;

    PRINTDLGW m_pd{};
    BOOL m_bDirect = FALSE;   // print on the default printer without asking
    BOOL m_bPreview = FALSE;  // asked for as a preview
    UINT m_nCurPage = 1;
    CRect m_rectDraw;         // the printable area of the page, in device units
};

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
    // Asked before its document closes; FALSE keeps the page open (the user chose Cancel).
    virtual BOOL SaveModified() { return TRUE; }

    // Printing: choose the printer, then begin, print each page, end.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) { (void)pDC; (void)pInfo; }
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) { (void)pInfo; OnDraw(pDC); }
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) { (void)pDC; (void)pInfo; }
    // Shows the print dialog (or takes the default printer for a direct print); FALSE when
    // cancelled or when there is no printer.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // Handlers a view puts in its table for Print, direct Print and Print Preview. There is no
    // preview window: a preview asks for the printer and prints like Print.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(LPCREATESTRUCTW lpcs) override;
    void OnPaint() override;
    void PostNcDestroy() override { delete this; }

    CDocument* m_pDocument = nullptr;

protected:
    CCreateContext* m_pCreateContext = nullptr;

private:
    void PrintJob(CPrintInfo& info);
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
