#include "TreeBar.h"

#include "CategoryTree.h"

namespace {
const UINT kTabImagesBitmap = 131;

CWnd* TabWindow(const CTabCtrl& tab, int index) { return reinterpret_cast<CWnd*>(tab.GetItemData(index)); }
}  // namespace

const MsgMap CTreeBar::messageMap{&CMRCSizeControlBar::messageMap, {
    msg::Notify(TCN_SELCHANGE, kTabCtrlId, &CTreeBar::OnTabSelChange),
}};

CTreeBar::CTreeBar() : CMRCSizeControlBar(kGripperCaption) {}

int CTreeBar::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CMRCSizeControlBar::OnCreate(lpcs) == -1) return -1;
    // Siblings are clipped so that the tab control never paints over the tab's window.
    if (!m_tab.Create(WC_TABCONTROLW, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_MULTILINE | TCS_BOTTOM,
                      CRect(0, 0, 0, 0), this, kTabCtrlId))
        return -1;
    m_tabImages.Create(kTabImagesBitmap, 16, 1, RGB(192, 192, 192));
    m_tab.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    m_tab.SetImageList(m_tabImages);

    m_pTree = new CCategoryTree;
    if (!m_pTree->CreateEx(WS_EX_CLIENTEDGE, WC_TREEVIEWW, nullptr,
                           WS_CHILD | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, CRect(0, 0, 0, 0),
                           this, kTreeId)) {
        delete m_pTree;
        m_pTree = nullptr;
        return -1;
    }
    m_pTree->Initialise();
    m_tab.InsertItem(0, L"Tree View", 0, reinterpret_cast<LPARAM>(static_cast<CWnd*>(m_pTree)));
    ShowSelectedTab();
    return 0;
}

void CTreeBar::ShowSelectedTab() {
    int selected = m_tab.GetCurSel();
    for (int i = 0, n = m_tab.GetItemCount(); i < n; ++i)
        if (CWnd* w = TabWindow(m_tab, i)) w->ShowWindow(i == selected ? SW_SHOW : SW_HIDE);
}

void CTreeBar::OnTabSelChange(NMHDR*, LRESULT* pResult) {
    ShowSelectedTab();
    *pResult = 0;
}

void CTreeBar::OnSizedOrDocked(int, int, BOOL, int) {
    if (!m_tab.IsWindow()) return;
    CRect r;
    GetClientRect(&r);
    r.DeflateRect(Margin(), Margin());
    m_tab.MoveWindow(r);
    CRect display = r;
    m_tab.AdjustRect(FALSE, &display);
    for (int i = 0, n = m_tab.GetItemCount(); i < n; ++i)
        if (CWnd* w = TabWindow(m_tab, i))
            w->SetWindowPos(HWND_TOP, display.left, display.top, display.Width(), display.Height(), SWP_NOACTIVATE);
}

void CTreeBar::OnDestroy() {
    for (int i = 0, n = m_tab.GetItemCount(); i < n; ++i) delete TabWindow(m_tab, i);
    m_pTree = nullptr;
    CMRCSizeControlBar::OnDestroy();
}
