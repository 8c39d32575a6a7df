#include "RecentFileListPages.h"

#include "CheckList.h"
#include "resource.h"

namespace {
const RecentFileListRow kAccess{IDD_ACCESS, "Microsoft Access", 1153, 1154, 1062, 1053, 1087, 1244,
                                 "Software\\Microsoft\\Office\\11.0\\Access\\Settings", "MRU%d", 1, 20, false};
const RecentFileListRow kMediaPlayer{IDD_MEDIAPLAYER, "Media Player", 1179, 1180, 1015, 1001, 1000, 1248,
                                      "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", "File%d", 0, 20, true};
const RecentFileListRow kExcel{IDD_EXCEL, "Microsoft Excel", 1155, 1156, 1034, 1000, 1059, 1245,
                                "Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files", "File%d", 1, 20, false};
const RecentFileListRow kConsole{IDD_MMCONSOLE, "Microsoft Management Console", 1181, 1170, 1252, 1182, 1183, 1253,
                                  "Software\\Microsoft\\Microsoft Management Console\\Recent File List", "File%d", 1, 20,
                                  true};
const RecentFileListRow kPowerPoint{IDD_POWERPOINT, "Microsoft Power Point", 1072, 1158, 1060, 1000, 1061, 1246,
                                     "Software\\Microsoft\\Office\\11.0\\PowerPoint\\Recent File List", "File%d", 1, 20,
                                     false};
const RecentFileListRow kPaint{IDD_PAINT, "Paint", 1178, 1164, 1014, 1000, 1001, 1247,
                                "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", "File%d",
                                1, 20, false};
const RecentFileListRow kWinzip{IDD_WINZIP, "WinZip", 1187, 1188, 1023, 1254, 1255, 1256,
                                 "Software\\Nico Mak Computing\\WinZip\\filemenu", "filemenu%d", 1, 20, true};
const RecentFileListRow kWordPad{IDD_WORDPAD, "Word Pad", 1184, 1185, 1250, 1000, 1021, 1251,
                                  "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List",
                                  "File%d", 1, 20, false};
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
