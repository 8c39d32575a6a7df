#include "SchedulerDlg.h"

#include <ctime>

#include "resource.h"

namespace {
const wchar_t* const kEveryKinds[] = {L"Time Interval", L"Day",         L"Week",           L"Month",
                                   L"User Logon",    L"System Startup", L"User Logoff", L"System Shutdown",
                                   L"Closing a Browser"};
const wchar_t* const kColumns[] = {L"Task Name", L"Task Scheduled", L"Advanced", L"Status"};
constexpr int kColumnWidth = 100;

void Append(CListBox& list, const wchar_t* format, int from, int to) {
    wchar_t text[8];
    for (int i = from; i <= to; ++i) {
        wsprintfW(text, format, i);
        list.InsertString(-1, text);  // at the end even in a sorted list
    }
}
}  // namespace

const MsgMap CSchedulerDlg::messageMap{&CExpandingDialog::messageMap, {
    msg::Command(IDC_SCHEDULER_MANUALLY, &CSchedulerDlg::OnManually),
    msg::Command(IDC_SCHEDULER_ON, &CSchedulerDlg::OnAtTime),
    msg::Command(IDC_SCHEDULER_EVERY, &CSchedulerDlg::OnEvery),
    msg::Control(EN_CHANGE, IDC_SCHEDULER_TASKNAME, &CSchedulerDlg::OnTaskNameChange),
    msg::Command(IDC_SCHEDULER_APPLY, &CSchedulerDlg::OnApply),
}};

CSchedulerDlg::CSchedulerDlg(CWnd* pParent)
    : CExpandingDialog(IDD_SCHEDULER, pParent, IDC_SCHEDULER_GROUP, IDC_SCHEDULER_APPLY, L"Apply", L"Apply", TRUE) {}

void CSchedulerDlg::DoDataExchange(CDataExchange* pDX) {
    CExpandingDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SCHEDULER_MANUALLY, m_manually);
    DDX_Control(pDX, IDC_SCHEDULER_ON, m_on);
    DDX_Control(pDX, IDC_SCHEDULER_EVERY, m_every);
    DDX_Control(pDX, IDC_SCHEDULER_AT_TIME, m_atTime);
    DDX_Control(pDX, IDC_SCHEDULER_FIRST_STARTUP, m_firstStartup);
    DDX_Control(pDX, IDC_SCHEDULER_APPLY, m_apply);
    DDX_Control(pDX, IDC_SCHEDULER_DATE, m_date);
    DDX_Control(pDX, IDC_SCHEDULER_TIME, m_time);
    DDX_Control(pDX, IDC_SCHEDULER_EVERY_KIND, m_kinds);
    DDX_Control(pDX, IDC_SCHEDULER_HOURS, m_hours);
    DDX_Control(pDX, IDC_SCHEDULER_MINUTES, m_minutes);
    DDX_Control(pDX, IDC_SCHEDULER_TASK_LIST, m_tasks);
    DDX_Text(pDX, IDC_SCHEDULER_TASKNAME, m_strTaskName);
}

BOOL CSchedulerDlg::OnInitDialog() {
    CExpandingDialog::OnInitDialog();  // reduces the dialog to the "Task Scheduler" group
    for (const wchar_t* kind : kEveryKinds) m_kinds.InsertString(-1, kind);
    m_kinds.EnableWindow(FALSE);
    // The time picker has a check box for "no time"; it starts ticked, with the time of now.
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    m_time.SetTime(&now);
    m_manually.SetCheck(BST_CHECKED);
    OnManually();
    m_apply.EnableWindow(FALSE);
    m_manually.SetFocus();
    return FALSE;  // the focus is set
}

void CSchedulerDlg::OnManually() {
    m_date.ShowWindow(SW_SHOW);
    m_date.EnableWindow(FALSE);
    m_time.EnableWindow(FALSE);
    m_atTime.EnableWindow(FALSE);
    m_firstStartup.EnableWindow(FALSE);
    m_hours.ShowWindow(SW_HIDE);
    m_minutes.ShowWindow(SW_HIDE);
}

void CSchedulerDlg::OnAtTime() {
    m_date.ShowWindow(SW_SHOW);
    m_date.EnableWindow(TRUE);
    m_time.EnableWindow(TRUE);
    m_atTime.EnableWindow(TRUE);
    m_firstStartup.EnableWindow(TRUE);
    m_hours.ShowWindow(SW_HIDE);
    m_minutes.ShowWindow(SW_HIDE);
}

void CSchedulerDlg::OnEvery() {
    m_kinds.EnableWindow(TRUE);
    m_firstStartup.EnableWindow(FALSE);
    m_atTime.EnableWindow(FALSE);
    m_date.ShowWindow(SW_HIDE);
    m_hours.ShowWindow(SW_SHOW);
    m_minutes.ShowWindow(SW_SHOW);
    // Entering the state again appends the hours and minutes once more.
    Append(m_hours, L"%d", 0, 23);
    Append(m_minutes, L"%02d", 0, 59);
}

void CSchedulerDlg::OnTaskNameChange() { m_apply.EnableWindow(TRUE); }

void CSchedulerDlg::SetUpColumns() {
    for (int i = 0; i < 4; ++i) m_tasks.InsertColumn(i, kColumns[i], LVCFMT_LEFT, kColumnWidth);
    m_tasks.SetExtendedStyle(m_tasks.GetExtendedStyle() | LVS_EX_GRIDLINES);
    m_columnsSet = true;
}

std::optional<std::wstring> CSchedulerDlg::ScheduledText() const {
    SYSTEMTIME st{};
    if (m_time.GetTime(&st) != GDT_VALID) return std::nullopt;
    std::tm t{};
    t.tm_year = st.wYear - 1900;
    t.tm_mon = st.wMonth - 1;
    t.tm_mday = st.wDay;
    t.tm_wday = st.wDayOfWeek;
    t.tm_hour = st.wHour;
    t.tm_min = st.wMinute;
    t.tm_sec = st.wSecond;
    bool showsTime = (m_time.GetStyle() & DTS_TIMEFORMAT) == DTS_TIMEFORMAT;
    wchar_t text[64];
    std::wcsftime(text, ARRAYSIZE(text), showsTime ? L"at %X on" : L"at %x on", &t);
    return std::wstring(text);
}

void CSchedulerDlg::OnApply() {
    if (!m_columnsSet) SetUpColumns();
    UpdateData(TRUE);
    m_tasks.InsertItem(0, m_strTaskName);
    if (m_manually.GetCheck() == BST_CHECKED) {
        m_tasks.SetItemText(0, kScheduledColumn, L"Manually");
        m_tasks.SetItemText(0, kStatusColumn, L"Active");
    } else if (m_on.GetCheck() == BST_CHECKED) {
        if (auto when = ScheduledText()) {
            m_tasks.SetItemText(0, kScheduledColumn, *when);
            m_tasks.SetItemText(0, kStatusColumn, L"Active");
        } else {
            AfxMessageBox(L"Time not set!", MB_OK);
        }
    }
    // Showing the values again rewrites the name, which would count as a change: disable after.
    UpdateData(FALSE);
    m_apply.EnableWindow(FALSE);
}
