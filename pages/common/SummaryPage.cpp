#include "SummaryPage.h"

look::PageLook SummaryLook(const SummaryFace& face) {
    using namespace look;
    std::vector<int> headings, descriptions{face.textId}, white;
    for (const SummaryRow& r : face.rows) {
        headings.push_back(r.headingId);
        descriptions.push_back(r.descriptionId);
        white.push_back(r.descriptionId);
        white.push_back(r.detailsId);
    }
    std::vector<int> onPageColour{face.titleId, face.textId, face.bandId};
    onPageColour.insert(onPageColour.end(), headings.begin(), headings.end());
    return {kWhite,
            {Colour(kWhite, white), Colour(kPageColour, onPageColour), Font(kTitleFont, {face.titleId}),
             Font(kSummaryTextFont, descriptions), Font(kHeadingFont, headings)}};
}

const MsgMap CSummaryView::messageMap{&CPageView::messageMap, {
    msg::Registered(&WM_LINK_CLICKED, &CSummaryView::OnLinkClicked),
}};

CSummaryView::CSummaryView(const SummaryFace& face)
    : CPageView(face.dialog, SummaryLook(face), face.caption),
      m_checks(face.rows.size()),
      m_links(face.rows.size()),
      m_face(face) {}

void CSummaryView::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    for (size_t i = 0; i < m_face.rows.size(); ++i) {
        DDX_Control(pDX, m_face.rows[i].checkId, m_checks[i]);
        DDX_Control(pDX, m_face.rows[i].detailsId, m_links[i]);
    }
}

BOOL CSummaryView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // Each summary has its own ids for these two, so they are looked up in the page's face.
    void (CSummaryView::*handler)() = nullptr;
    if (nID == static_cast<UINT>(m_face.selectAllId)) handler = &CSummaryView::OnSelectAll;
    if (nID == static_cast<UINT>(m_face.clearAllId)) handler = &CSummaryView::OnClearAll;
    if (nCode == CN_COMMAND && handler) {
        if (!pHandlerInfo) (this->*handler)();
        return TRUE;
    }
    return CPageView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CSummaryView::SetAllChecks(int check) {
    for (const SummaryRow& r : m_face.rows)
        ::SendDlgItemMessageW(m_hWnd, r.checkId, BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

bool CSummaryView::IsChecked(const SummaryRow& row) const {
    return ::SendDlgItemMessageW(m_hWnd, row.checkId, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CSummaryView::OnSelectAll() { SetAllChecks(BST_CHECKED); }
void CSummaryView::OnClearAll() { SetAllChecks(BST_UNCHECKED); }

LRESULT CSummaryView::OnLinkClicked(WPARAM wParam, LPARAM) {
    for (const SummaryRow& r : m_face.rows)
        if (static_cast<WPARAM>(r.detailsId) == wParam) {
            ui::OpenPage(r.key);
            break;
        }
    return 0;
}
