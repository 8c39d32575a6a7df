#include "RecentFileListPages.h"

#include <algorithm>

#include "CheckList.h"
#include "ReportBox.h"
#include "resource.h"

namespace recentfiles {
const RecentFileListRow kAccess{
    IDD_ACCESS, L"Microsoft Access",
    IDC_ACCESS_TITLE, IDC_ACCESS_TEXT, IDC_ACCESS_LIST, IDC_ACCESS_SELECTALL, IDC_ACCESS_CLEARALL, IDC_ACCESS_ERASE, "apps.access"};
const RecentFileListRow kMediaPlayer{
    IDD_MEDIAPLAYER, L"Media Player",
    IDC_MEDIAPLAYER_TITLE, IDC_MEDIAPLAYER_TEXT, IDC_MEDIAPLAYER_LIST, IDC_MEDIAPLAYER_SELECTALL,
    IDC_MEDIAPLAYER_CLEARALL, IDC_MEDIAPLAYER_ERASE, "apps.media-player"};
const RecentFileListRow kExcel{
    IDD_EXCEL, L"Microsoft Excel",
    IDC_EXCEL_TITLE, IDC_EXCEL_TEXT, IDC_EXCEL_LIST, IDC_EXCEL_SELECTALL, IDC_EXCEL_CLEARALL, IDC_EXCEL_ERASE, "apps.excel"};
const RecentFileListRow kConsole{
    IDD_MMCONSOLE, L"Microsoft Management Console",
    IDC_MMCONSOLE_TITLE, IDC_MMCONSOLE_TEXT, IDC_MMCONSOLE_LIST, IDC_MMCONSOLE_SELECTALL, IDC_MMCONSOLE_CLEARALL,
    IDC_MMCONSOLE_ERASE, "apps.mmc"};
const RecentFileListRow kPowerPoint{
    IDD_POWERPOINT, L"Microsoft Power Point",
    IDC_POWERPOINT_TITLE, IDC_POWERPOINT_TEXT, IDC_POWERPOINT_LIST, IDC_POWERPOINT_SELECTALL, IDC_POWERPOINT_CLEARALL,
    IDC_POWERPOINT_ERASE, "apps.powerpoint"};
const RecentFileListRow kPaint{
    IDD_PAINT, L"Paint",
    IDC_PAINT_TITLE, IDC_PAINT_TEXT, IDC_PAINT_LIST, IDC_PAINT_SELECTALL, IDC_PAINT_CLEARALL, IDC_PAINT_ERASE, "apps.paint"};
const RecentFileListRow kWinzip{
    IDD_WINZIP, L"WinZip",
    IDC_WINZIP_TITLE, IDC_WINZIP_TEXT, IDC_WINZIP_LIST, IDC_WINZIP_SELECTALL, IDC_WINZIP_CLEARALL, IDC_WINZIP_ERASE, "apps.winzip"};
const RecentFileListRow kWordPad{
    IDD_WORDPAD, L"Word Pad",
    IDC_WORDPAD_TITLE, IDC_WORDPAD_TEXT, IDC_WORDPAD_LIST, IDC_WORDPAD_SELECTALL, IDC_WORDPAD_CLEARALL,
    IDC_WORDPAD_ERASE, "apps.wordpad"};

}  // namespace recentfiles

CRecentFileListView::CRecentFileListView(const RecentFileListRow& row)
    : CPageView(row.dialog, look::ListLook(row.titleId, row.textId), row.caption), m_row(row) {}

void CRecentFileListView::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, m_row.listId, m_list);
    if (pDX->m_bSaveAndValidate) return;
    checklist::EnableCheckBoxes(m_list);
    if (const engine::RecentFileList* list = engine::FindRecentFileList(m_row.category)) m_entries = engine::ReadRecentFiles(*list);
    for (const engine::RegistryEntry& e : m_entries) m_list.InsertItem(m_list.GetItemCount(), e.text);
}

BOOL CRecentFileListView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The family's buttons have other ids on every page, so they are looked up in the page's row.
    void (CRecentFileListView::*handler)() = nullptr;
    if (nID == static_cast<UINT>(m_row.selectAllId)) handler = &CRecentFileListView::OnSelectAll;
    if (nID == static_cast<UINT>(m_row.clearAllId)) handler = &CRecentFileListView::OnClearAll;
    if (nID == static_cast<UINT>(m_row.eraseId)) handler = &CRecentFileListView::OnErase;
    if (nCode == CN_COMMAND && handler) {
        if (!pHandlerInfo) (this->*handler)();
        return TRUE;
    }
    return CPageView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CRecentFileListView::OnSelectAll() { checklist::SetAll(m_list, TRUE); }
void CRecentFileListView::OnClearAll() { checklist::SetAll(m_list, FALSE); }

void CRecentFileListView::OnErase() {
    if (m_list.GetItemCount() == 0) {
        report::ShowText(L"There are no Recent Files in this folder");
        return;
    }
    // Every checked row's value goes by the exact name it was listed under; a row whose value
    // stayed keeps its place.
    std::vector<engine::RegistryEntry> checked;
    for (int i = 0; i < m_list.GetItemCount(); ++i)
        if (m_list.GetCheck(i)) checked.push_back(m_entries[static_cast<size_t>(i)]);
    engine::Result result = engine::EraseRecentFiles(checked);
    if (const engine::RecentFileList* list = engine::FindRecentFileList(m_row.category)) {
        std::vector<engine::RegistryEntry> now = engine::ReadRecentFiles(*list);
        for (int i = m_list.GetItemCount() - 1; i >= 0; --i) {
            const engine::RegistryEntry& e = m_entries[static_cast<size_t>(i)];
            bool stays = std::any_of(now.begin(), now.end(), [&](const engine::RegistryEntry& n) {
                return n.value == e.value && n.text == e.text;
            });
            if (m_list.GetCheck(i) && !stays) {
                m_list.DeleteItem(i);
                m_entries.erase(m_entries.begin() + i);
            }
        }
    }
    report::ShowText(result.Complete() ? L"Selected items have been Erased. Thank you for using Corvane Scrubline"
                                       : L"Some selected items could not be erased.",
                     !result.Complete());
}

CMAVw::CMAVw() : CRecentFileListView(recentfiles::kAccess) {}
CMediaPlayerVw::CMediaPlayerVw() : CRecentFileListView(recentfiles::kMediaPlayer) {}
CMEVw::CMEVw() : CRecentFileListView(recentfiles::kExcel) {}
CMMConsoleVw::CMMConsoleVw() : CRecentFileListView(recentfiles::kConsole) {}
CMPptVw::CMPptVw() : CRecentFileListView(recentfiles::kPowerPoint) {}
CPaintVw::CPaintVw() : CRecentFileListView(recentfiles::kPaint) {}
CWinzipVw::CWinzipVw() : CRecentFileListView(recentfiles::kWinzip) {}
CWordPadVw::CWordPadVw() : CRecentFileListView(recentfiles::kWordPad) {}


CMWVw::CMWVw() : CPageView(IDD_WORD, look::ListLook(IDC_WORD_TITLE, IDC_WORD_TEXT), L"Microsoft Word") {}
