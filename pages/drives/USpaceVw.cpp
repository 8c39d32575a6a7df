#include "USpaceVw.h"
#include "afxdpi.h"

#include <algorithm>

#include "CheckList.h"
#include "DriveSpace.h"
#include "DriveText.h"
#include "EraseSettingsDlg.h"
#include "ReportBox.h"
#include "UnusedSpaceWipe.h"
#include "WipeProgressDlg.h"
#include "resource.h"

namespace {
look::PageLook UnusedSpaceLook() {
    using namespace look;
    return {kWhite,
            {Colour(kPageColour, {1057, 1229, 1230, 1234, 1235, 1236, 1237, 1238}),
             Font(kSettingsFont, {1235, 1236, 1237, 1238}),
             Font(kTitleFont, {1234, 1057})}};
}

struct Column {
    const wchar_t* heading;
    int format;
    int share;  // the column's width is the list's width divided by this
};
const Column kColumns[] = {{L"Disk", LVCFMT_CENTER, 10},
                           {L"Label", LVCFMT_LEFT, 4},
                           {L"File System", LVCFMT_LEFT, 5},
                           {L"Unused Space", LVCFMT_LEFT, 4},
                           {L"Total Space", LVCFMT_LEFT, 5}};
}  // namespace

const MsgMap CUSpaceVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_USPACE_SELECTALL, &CUSpaceVw::OnSelectAll),
    msg::Command(IDC_USPACE_CLEARALL, &CUSpaceVw::OnClearAll),
    msg::Command(IDC_USPACE_SETTINGS, &CUSpaceVw::OnSettings),
    msg::Command(IDC_USPACE_ERASE_NOW, &CUSpaceVw::OnEraseNow),
}};

CUSpaceVw::CUSpaceVw() : CPageView(IDD_USPACE, UnusedSpaceLook(), L"Veduva123") {}

int CUSpaceVw::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CPageView::OnCreate(lpcs) == -1) return -1;
    if (!m_list.Create(WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 400, 200), this,
                       IDC_USPACE_DRIVE_LIST))
        return -1;
    ::SendMessageW(m_list.m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    m_listFont.CreatePointFont(100, L"System");
    m_list.SetFont(m_listFont);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i)
        m_list.InsertColumn(i, kColumns[i].heading, kColumns[i].format, 0);
    return 0;
}

void CUSpaceVw::OnSize(UINT nType, int cx, int cy) {
    CPageView::OnSize(nType, cx, cy);
    // Sizing starts while the dialog is still being made: the band is bound only later.
    if (!m_band.IsWindow() || !m_list.IsWindow()) return;
    CRect client;
    GetClientRect(&client);
    // Pixels at 100%, scaled like the dialog units of the rest of the page.
    m_band.MoveWindow(0, 0, client.Width(), AfxScaled(100));
    m_band.ShowWindow(SW_SHOW);
    int width = std::max(0, client.Width() - AfxScaled(160));
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) m_list.SetColumnWidth(i, width / kColumns[i].share);
    m_list.MoveWindow(AfxScaled(20), AfxScaled(140), width, client.Height() * 5 / 14);
    m_list.ShowWindow(SW_SHOW);
}

void CUSpaceVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_USPACE_SELECTALL, m_selectAll);
    DDX_Control(pDX, IDC_USPACE_CLEARALL, m_clearAll);
    DDX_Control(pDX, IDC_USPACE_BAND, m_band);
    if (!pDX->m_bSaveAndValidate) Fill();
}

// One row per present drive, unchecked; a drive that cannot be read keeps its row with empty cells.
void CUSpaceVw::Fill() {
    m_list.DeleteAllItems();
    drives::FreeSpaceCall freeSpace = drives::FindFreeSpaceCall();
    for (wchar_t letter : drives::PresentDrives()) {
        std::wstring root = drives::RootOf(letter);
        int row = m_list.InsertItem(m_list.GetItemCount(), root);
        if (auto volume = ReadVolume(letter)) {
            m_list.SetItemText(row, 1, volume->label);
            m_list.SetItemText(row, 2, volume->fileSystem);
        }
        if (auto space = drives::QuerySpace(freeSpace, root)) {
            m_list.SetItemText(row, 3, drives::MegabytesText(space->freeBytes));
            m_list.SetItemText(row, 4, drives::MegabytesText(space->totalBytes));
        }
    }
}

void CUSpaceVw::OnSelectAll() { checklist::SetAll(m_list, TRUE); }
void CUSpaceVw::OnClearAll() { checklist::SetAll(m_list, FALSE); }

void CUSpaceVw::OnSettings() {
    CEraseSettingsDlg dialog;
    dialog.DoModal();
}

// The drive letters of the checked rows, in the list's order.
std::vector<wchar_t> CUSpaceVw::CheckedDrives() const {
    std::vector<wchar_t> drives;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const std::wstring root = m_list.GetItemText(row, 0);
        if (m_list.GetCheck(row) && !root.empty()) drives.push_back(root[0]);
    }
    return drives;
}

void CUSpaceVw::OnEraseNow() {
    if (m_wipe) return;  // one wipe at a time
    const std::vector<wchar_t> checked = CheckedDrives();
    if (checked.empty()) {
        report::ShowText(L"Check the drives to wipe first.");
        return;
    }
    std::vector<wchar_t> drives;
    std::vector<std::wstring> refusals;
    for (wchar_t d : checked) {
        std::wstring why = engine::WipeRefusal(d);
        if (why.empty()) drives.push_back(d);
        else refusals.push_back(why);
    }
    if (drives.empty()) {
        report::ShowText(wipe::Report(drives, {}, refusals, L""), true);
        return;
    }
    const std::shared_ptr<bool> alive = m_alive;
    const int answer = ::MessageBoxW(m_hWnd, wipe::Confirmation(drives).c_str(), L"Corvane-Sweepmere", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES || !*alive) return;

    const auto run = std::make_shared<CWipeProgressDlg>(drives);
    m_wipe = run;
    run->DoModal();
    // The page may have been closed under the dialog: then nothing of it is touched.
    if (*alive) m_wipe.reset();
    report::ShowText(wipe::Report(drives, run->Results(), refusals, run->Failure()),
                     wipe::ReportWarns(drives, run->Results(), refusals, run->Failure()));
}

void CUSpaceVw::OnDestroy() {
    // A wipe under way stops and removes its filler before the page goes.
    *m_alive = false;
    if (m_wipe) m_wipe->Abandon();
    m_wipe.reset();
    CPageView::OnDestroy();
}
