#include "RecentFileListPages.h"

#include "CheckList.h"
#include "resource.h"

namespace {
const RecentFileListRow kAccess{
    IDD_ACCESS, "Microsoft Access",
    IDC_ACCESS_TITLE, IDC_ACCESS_TEXT, IDC_ACCESS_LIST, IDC_ACCESS_SELECTALL, IDC_ACCESS_CLEARALL, IDC_ACCESS_ERASE,
    "Software\\Microsoft\\Office\\11.0\\Access\\Settings", "MRU%d", 1, 20, false};
const RecentFileListRow kMediaPlayer{
    IDD_MEDIAPLAYER, "Media Player",
    IDC_MEDIAPLAYER_TITLE, IDC_MEDIAPLAYER_TEXT, IDC_MEDIAPLAYER_LIST, IDC_MEDIAPLAYER_SELECTALL, IDC_MEDIAPLAYER_CLEARALL, IDC_MEDIAPLAYER_ERASE,
    "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", "File%d", 0, 20, true};
const RecentFileListRow kExcel{
    IDD_EXCEL, "Microsoft Excel",
    IDC_EXCEL_TITLE, IDC_EXCEL_TEXT, IDC_EXCEL_LIST, IDC_EXCEL_SELECTALL, IDC_EXCEL_CLEARALL, IDC_EXCEL_ERASE,
    "Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files", "File%d", 1, 20, false};
const RecentFileListRow kConsole{
    IDD_MMCONSOLE, "Microsoft Management Console",
    IDC_MMCONSOLE_TITLE, IDC_MMCONSOLE_TEXT, IDC_MMCONSOLE_LIST, IDC_MMCONSOLE_SELECTALL, IDC_MMCONSOLE_CLEARALL, IDC_MMCONSOLE_ERASE,
    "Software\\Microsoft\\Microsoft Management Console\\Recent File List", "File%d", 1, 20, true};
const RecentFileListRow kPowerPoint{
    IDD_POWERPOINT, "Microsoft Power Point",
    IDC_POWERPOINT_TITLE, IDC_POWERPOINT_TEXT, IDC_POWERPOINT_LIST, IDC_POWERPOINT_SELECTALL, IDC_POWERPOINT_CLEARALL, IDC_POWERPOINT_ERASE,
    "Software\\Microsoft\\Office\\11.0\\PowerPoint\\Recent File List", "File%d", 1, 20, false};
const RecentFileListRow kPaint{
    IDD_PAINT, "Paint",
    IDC_PAINT_TITLE, IDC_PAINT_TEXT, IDC_PAINT_LIST, IDC_PAINT_SELECTALL, IDC_PAINT_CLEARALL, IDC_PAINT_ERASE,
    "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", "File%d", 1, 20, false};
const RecentFileListRow kWinzip{
    IDD_WINZIP, "WinZip",
    IDC_WINZIP_TITLE, IDC_WINZIP_TEXT, IDC_WINZIP_LIST, IDC_WINZIP_SELECTALL, IDC_WINZIP_CLEARALL, IDC_WINZIP_ERASE,
    "Software\\Nico Mak Computing\\WinZip\\filemenu", "filemenu%d", 1, 20, true};
const RecentFileListRow kWordPad{
    IDD_WORDPAD, "Word Pad",
    IDC_WORDPAD_TITLE, IDC_WORDPAD_TEXT, IDC_WORDPAD_LIST, IDC_WORDPAD_SELECTALL, IDC_WORDPAD_CLEARALL, IDC_WORDPAD_ERASE,
    "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List", "File%d", 1, 20, false};
}  // namespace

CRecentFileListView::CRecentFileListView(const RecentFileListRow& row)
    : CPageView(row.dialog, look::ListLook(row.titleId, row.textId), row.caption), m_row(row) {}

void CRecentFileListView::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, m_row.listId, m_list);
}

BOOL CRecentFileListView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The family's buttons have other ids on every page, so they are looked up in the page's row.
    if (nCode == CN_COMMAND && (nID == static_cast<UINT>(m_row.selectAllId) || nID == static_cast<UINT>(m_row.clearAllId))) {
        if (pHandlerInfo) return TRUE;
        if (nID == static_cast<UINT>(m_row.selectAllId))
            OnSelectAll();
        else
            OnClearAll();
        return TRUE;
    }
    return CPageView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CRecentFileListView::OnSelectAll() { checklist::SetAll(m_list, TRUE); }
void CRecentFileListView::OnClearAll() { checklist::SetAll(m_list, FALSE); }

CMAVw::CMAVw() : CRecentFileListView(kAccess) {}
CMediaPlayerVw::CMediaPlayerVw() : CRecentFileListView(kMediaPlayer) {}
CMEVw::CMEVw() : CRecentFileListView(kExcel) {}
CMMConsoleVw::CMMConsoleVw() : CRecentFileListView(kConsole) {}
CMPptVw::CMPptVw() : CRecentFileListView(kPowerPoint) {}
CPaintVw::CPaintVw() : CRecentFileListView(kPaint) {}
CWinzipVw::CWinzipVw() : CRecentFileListView(kWinzip) {}
CWordPadVw::CWordPadVw() : CRecentFileListView(kWordPad) {}

CMWVw::CMWVw() : CPageView(IDD_WORD, look::ListLook(IDC_WORD_TITLE, IDC_WORD_TEXT), "Microsoft Word") {}
