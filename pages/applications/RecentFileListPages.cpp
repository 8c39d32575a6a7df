#include "RecentFileListPages.h"

#include <cstdio>

#include "CheckList.h"
#include "RegistryRead.h"
#include "resource.h"

namespace recentfiles {
const RecentFileListRow kAccess{
    IDD_ACCESS, L"Microsoft Access",
    IDC_ACCESS_TITLE, IDC_ACCESS_TEXT, IDC_ACCESS_LIST, IDC_ACCESS_SELECTALL, IDC_ACCESS_CLEARALL, IDC_ACCESS_ERASE,
    L"Software\\Microsoft\\Office\\11.0\\Access\\Settings", L"MRU%d", 1, 20, false};
const RecentFileListRow kMediaPlayer{
    IDD_MEDIAPLAYER, L"Media Player",
    IDC_MEDIAPLAYER_TITLE, IDC_MEDIAPLAYER_TEXT, IDC_MEDIAPLAYER_LIST, IDC_MEDIAPLAYER_SELECTALL,
    IDC_MEDIAPLAYER_CLEARALL, IDC_MEDIAPLAYER_ERASE,
    L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList", L"File%d", 0, 20, true};
const RecentFileListRow kExcel{
    IDD_EXCEL, L"Microsoft Excel",
    IDC_EXCEL_TITLE, IDC_EXCEL_TEXT, IDC_EXCEL_LIST, IDC_EXCEL_SELECTALL, IDC_EXCEL_CLEARALL, IDC_EXCEL_ERASE,
    L"Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files", L"File%d", 1, 20, false};
const RecentFileListRow kConsole{
    IDD_MMCONSOLE, L"Microsoft Management Console",
    IDC_MMCONSOLE_TITLE, IDC_MMCONSOLE_TEXT, IDC_MMCONSOLE_LIST, IDC_MMCONSOLE_SELECTALL, IDC_MMCONSOLE_CLEARALL,
    IDC_MMCONSOLE_ERASE,
    L"Software\\Microsoft\\Microsoft Management Console\\Recent File List", L"File%d", 1, 20, true};
const RecentFileListRow kPowerPoint{
    IDD_POWERPOINT, L"Microsoft Power Point",
    IDC_POWERPOINT_TITLE, IDC_POWERPOINT_TEXT, IDC_POWERPOINT_LIST, IDC_POWERPOINT_SELECTALL, IDC_POWERPOINT_CLEARALL,
    IDC_POWERPOINT_ERASE,
    L"Software\\Microsoft\\Office\\11.0\\PowerPoint\\Recent File List", L"File%d", 1, 20, false};
const RecentFileListRow kPaint{
    IDD_PAINT, L"Paint",
    IDC_PAINT_TITLE, IDC_PAINT_TEXT, IDC_PAINT_LIST, IDC_PAINT_SELECTALL, IDC_PAINT_CLEARALL, IDC_PAINT_ERASE,
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", L"File%d", 1, 20, false};
const RecentFileListRow kWinzip{
    IDD_WINZIP, L"WinZip",
    IDC_WINZIP_TITLE, IDC_WINZIP_TEXT, IDC_WINZIP_LIST, IDC_WINZIP_SELECTALL, IDC_WINZIP_CLEARALL, IDC_WINZIP_ERASE,
    L"Software\\Nico Mak Computing\\WinZip\\filemenu", L"filemenu%d", 1, 20, true};
const RecentFileListRow kWordPad{
    IDD_WORDPAD, L"Word Pad",
    IDC_WORDPAD_TITLE, IDC_WORDPAD_TEXT, IDC_WORDPAD_LIST, IDC_WORDPAD_SELECTALL, IDC_WORDPAD_CLEARALL,
    IDC_WORDPAD_ERASE,
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Wordpad\\Recent File List", L"File%d", 1, 20, false};

std::wstring ValueName(const RecentFileListRow& row, int n) {
    wchar_t name[64];
    swprintf(name, ARRAYSIZE(name), row.pattern, n);
    return name;
}

std::vector<std::wstring> ReadList(const RecentFileListRow& row) {
    std::vector<std::wstring> texts;
    for (int n = row.first; n <= row.last; ++n) {
        regread::Value v = regread::Read(HKEY_CURRENT_USER, row.key, ValueName(row, n).c_str());
        if (v.read)
            texts.push_back(v.text);
        else if (row.stopAtFirstMissing)
            break;
    }
    return texts;
}

namespace {
bool Holds(const RecentFileListRow& row, const std::wstring& name, const std::wstring& text) {
    regread::Value v = regread::Read(HKEY_CURRENT_USER, row.key, name.c_str());
    return v.read && v.text == text;
}

LONG DeleteValue(const wchar_t* key, const std::wstring& name) {
    HKEY k = nullptr;
    LONG rc = ::RegOpenKeyW(HKEY_CURRENT_USER, key, &k);
    if (rc != ERROR_SUCCESS) return rc;
    rc = ::RegDeleteValueW(k, name.c_str());
    ::RegCloseKey(k);
    return rc;
}
}  // namespace

bool EraseEntry(const RecentFileListRow& row, const std::wstring& text, EraseResult& result) {
    // By content, not by the name the listing read: the application may have renumbered its
    // values since, and every value holding the path goes.
    std::wstring reason;
    for (int n = row.first; n <= row.last; ++n) {
        std::wstring name = ValueName(row, n);
        if (!Holds(row, name, text)) continue;
        LONG rc = DeleteValue(row.key, name);
        if (Holds(row, name, text) && reason.empty())
            reason = L"The value " + name + L" could not be deleted (error " + std::to_wstring(rc) + L").";
    }
    if (!reason.empty()) {
        result.Failed(reason);
        return false;
    }
    ++result.erased;
    return true;
}
}  // namespace recentfiles

CRecentFileListView::CRecentFileListView(const RecentFileListRow& row)
    : CPageView(row.dialog, look::ListLook(row.titleId, row.textId), row.caption), m_row(row) {}

void CRecentFileListView::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, m_row.listId, m_list);
    if (pDX->m_bSaveAndValidate) return;
    checklist::EnableCheckBoxes(m_list);
    for (const std::wstring& text : recentfiles::ReadList(m_row)) m_list.InsertItem(m_list.GetItemCount(), text);
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
        AfxMessageBox(L"There are no Recent Files in this folder");
        return;
    }
    // Every item present now is examined once; a checked item whose value stayed keeps its row.
    EraseResult result;
    for (int i = 0; i < m_list.GetItemCount();) {
        if (m_list.GetCheck(i) && recentfiles::EraseEntry(m_row, m_list.GetItemText(i, 0), result))
            m_list.DeleteItem(i);
        else
            ++i;
    }
    AfxMessageBox(result.Complete() ? L"Selected items have been Erased. Thank you for using Corvane Scrubline"
                                    : L"Some selected items could not be erased.");
}

EraseResult CRecentFileListView::EraseWithoutWindow(const RecentFileListRow& row) {
    EraseResult result;
    for (const std::wstring& text : recentfiles::ReadList(row)) recentfiles::EraseEntry(row, text, result);
    return result;
}

CMAVw::CMAVw() : CRecentFileListView(recentfiles::kAccess) {}
CMediaPlayerVw::CMediaPlayerVw() : CRecentFileListView(recentfiles::kMediaPlayer) {}
CMEVw::CMEVw() : CRecentFileListView(recentfiles::kExcel) {}
CMMConsoleVw::CMMConsoleVw() : CRecentFileListView(recentfiles::kConsole) {}
CMPptVw::CMPptVw() : CRecentFileListView(recentfiles::kPowerPoint) {}
CPaintVw::CPaintVw() : CRecentFileListView(recentfiles::kPaint) {}
CWinzipVw::CWinzipVw() : CRecentFileListView(recentfiles::kWinzip) {}
CWordPadVw::CWordPadVw() : CRecentFileListView(recentfiles::kWordPad) {}

EraseResult CMAVw::EraseWithoutWindow() { return CRecentFileListView::EraseWithoutWindow(recentfiles::kAccess); }
EraseResult CMediaPlayerVw::EraseWithoutWindow() { return CRecentFileListView::EraseWithoutWindow(recentfiles::kMediaPlayer); }
EraseResult CMEVw::EraseWithoutWindow() { return CRecentFileListView::EraseWithoutWindow(recentfiles::kExcel); }
EraseResult CMMConsoleVw::EraseWithoutWindow() { return CRecentFileListView::EraseWithoutWindow(recentfiles::kConsole); }
EraseResult CMPptVw::EraseWithoutWindow() { return CRecentFileListView::EraseWithoutWindow(recentfiles::kPowerPoint); }
EraseResult CPaintVw::EraseWithoutWindow() { return CRecentFileListView::EraseWithoutWindow(recentfiles::kPaint); }
EraseResult CWinzipVw::EraseWithoutWindow() { return CRecentFileListView::EraseWithoutWindow(recentfiles::kWinzip); }
EraseResult CWordPadVw::EraseWithoutWindow() { return CRecentFileListView::EraseWithoutWindow(recentfiles::kWordPad); }

CMWVw::CMWVw() : CPageView(IDD_WORD, look::ListLook(IDC_WORD_TITLE, IDC_WORD_TEXT), L"Microsoft Word") {}
