#include "SchedulerDlg.h"

#include <algorithm>

#include "Categories.h"
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

// The picker's date with its day of the week worked out (the control may leave it unset).
engine::TaskTime TimeOf(SYSTEMTIME date, const SYSTEMTIME& time) {
    FILETIME ft;
    if (::SystemTimeToFileTime(&date, &ft)) ::FileTimeToSystemTime(&ft, &date);
    return {date.wYear, date.wMonth, date.wDay, date.wDayOfWeek, time.wHour, time.wMinute};
}
}  // namespace

const MsgMap CSchedulerDlg::messageMap{&CExpandingDialog::messageMap, {
    msg::Command(IDC_SCHEDULER_MANUALLY, &CSchedulerDlg::OnManually),
    msg::Command(IDC_SCHEDULER_ON, &CSchedulerDlg::OnAtTime),
    msg::Command(IDC_SCHEDULER_EVERY, &CSchedulerDlg::OnEvery),
    msg::Control(EN_CHANGE, IDC_SCHEDULER_TASKNAME, &CSchedulerDlg::OnTaskNameChange),
    msg::Command(IDC_SCHEDULER_APPLY, &CSchedulerDlg::OnApply),
    msg::Command(IDC_SCHEDULER_START_NOW, &CSchedulerDlg::OnStartNow),
    msg::Command(IDC_SCHEDULER_REMOVE_TASK, &CSchedulerDlg::OnRemoveTask),
    msg::Command(IDC_SCHEDULER_ACTIVATE, &CSchedulerDlg::OnActivate),
    msg::Command(IDC_SCHEDULER_DEACTIVATE, &CSchedulerDlg::OnDeactivate),
    msg::Command(IDC_SCHEDULER_ACTIVATE_ALL, &CSchedulerDlg::OnActivateAll),
    msg::Command(IDC_SCHEDULER_DEACTIVATE_ALL, &CSchedulerDlg::OnDeactivateAll),
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
    DDX_Control(pDX, IDC_SCHEDULER_TURN_OFF, m_turnOff);
    DDX_Control(pDX, IDC_SCHEDULER_DATE, m_date);
    DDX_Control(pDX, IDC_SCHEDULER_TIME, m_time);
    DDX_Control(pDX, IDC_SCHEDULER_EVERY_KIND, m_kinds);
    DDX_Control(pDX, IDC_SCHEDULER_HOURS, m_hours);
    DDX_Control(pDX, IDC_SCHEDULER_MINUTES, m_minutes);
    DDX_Control(pDX, IDC_SCHEDULER_TASK_LIST, m_tasks);
    DDX_Control(pDX, IDC_SCHEDULER_CATEGORIES, m_categories);
    DDX_Text(pDX, IDC_SCHEDULER_TASKNAME, m_strTaskName);
}

BOOL CSchedulerDlg::OnInitDialog() {
    CExpandingDialog::OnInitDialog();  // reduces the dialog to the "Task Scheduler" group
    for (const wchar_t* kind : kEveryKinds) m_kinds.InsertString(-1, kind);
    m_kinds.SetCurSel(1);  // "Day"
    m_kinds.EnableWindow(FALSE);
    // Filled once: entering "Every" again must not add them a second time.
    Append(m_hours, L"%d", 0, 23);
    Append(m_minutes, L"%02d", 0, 59);
    m_hours.SetCurSel(0);
    m_minutes.SetCurSel(0);
    // One row per category that erases, in the tree's order.
    m_categories.InsertColumn(0, L"", LVCFMT_LEFT, 200);
    m_categories.SetExtendedStyle(m_categories.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    for (const engine::Category& c : engine::Categories()) {
        if (!c.erase) continue;
        m_categories.InsertItem(m_categories.GetItemCount(), c.name);
        m_keys.push_back(c.key);
    }
    CRect inside;
    m_categories.GetClientRect(&inside);
    m_categories.SetColumnWidth(0, inside.Width() - ::GetSystemMetrics(SM_CXVSCROLL));
    for (int i = 0; i < 4; ++i) m_tasks.InsertColumn(i, kColumns[i], LVCFMT_LEFT, kColumnWidth);
    m_tasks.SetExtendedStyle(m_tasks.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ReloadTasks();
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
}

void CSchedulerDlg::OnTaskNameChange() { m_apply.EnableWindow(TRUE); }

std::optional<engine::TaskSpec> CSchedulerDlg::DescribedTask() {
    engine::TaskSpec plan;
    plan.name = m_strTaskName;
    plan.shutdown = m_turnOff.GetCheck() == BST_CHECKED;
    for (int i = 0; i < m_categories.GetItemCount(); ++i)
        if (m_categories.GetCheck(i)) plan.keys.push_back(m_keys[i]);
    SYSTEMTIME date{}, time{};
    m_date.GetTime(&date);
    if (m_on.GetCheck() == BST_CHECKED && m_firstStartup.GetCheck() == BST_CHECKED) {
        plan.kind = engine::TaskKind::Startup;  // "On" the next start, no time asked
    } else if (m_on.GetCheck() == BST_CHECKED) {
        if (m_time.GetTime(&time) != GDT_VALID) {
            AfxMessageBox(L"Time not set!", MB_OK);
            return std::nullopt;
        }
        plan.kind = engine::TaskKind::Once;
    } else if (m_every.GetCheck() == BST_CHECKED) {
        // The kinds of "Every" follow "Manually" and "On" in the engine's order.
        plan.kind = static_cast<engine::TaskKind>(static_cast<int>(engine::TaskKind::Interval) + std::max(0, m_kinds.GetCurSel()));
        time.wHour = static_cast<WORD>(std::max(0, m_hours.GetCurSel()));
        time.wMinute = static_cast<WORD>(std::max(0, m_minutes.GetCurSel()));
        plan.everyMinutes = time.wHour * 60 + time.wMinute;
    }
    plan.when = TimeOf(date, time);
    return plan;
}

void CSchedulerDlg::OnApply() {
    UpdateData(TRUE);
    if (std::optional<engine::TaskSpec> plan = DescribedTask()) {
        if (!Problem(engine::RegisterTask(*plan))) ReloadTasks();
    }
    // Showing the values again rewrites the name, which would count as a change: disable after.
    UpdateData(FALSE);
    m_apply.EnableWindow(FALSE);
}

void CSchedulerDlg::ReloadTasks() {
    std::vector<engine::ScheduledTask> tasks;
    std::wstring problem = engine::ListTasks(tasks);
    const std::wstring selected = SelectedTask();  // stays selected
    m_tasks.DeleteAllItems();
    for (const engine::ScheduledTask& t : tasks) {
        int row = m_tasks.InsertItem(m_tasks.GetItemCount(), t.plan.name);
        if (t.plan.name == selected) {
            LVITEMW item{};
            item.stateMask = item.state = LVIS_SELECTED;
            m_tasks.SendMessage(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        }
        m_tasks.SetItemText(row, kScheduledColumn, engine::TaskInWords(t.plan));
        m_tasks.SetItemText(row, kAdvancedColumn, t.nextRun);
        m_tasks.SetItemText(row, kStatusColumn, t.enabled ? L"Active" : L"Inactive");
    }
    Problem(problem);
}

int CSchedulerDlg::SelectedRow() const {
    return static_cast<int>(m_tasks.SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::wstring CSchedulerDlg::SelectedTask() const {
    int row = SelectedRow();
    return row < 0 ? std::wstring() : std::wstring(m_tasks.GetItemText(row, kNameColumn));
}

bool CSchedulerDlg::Problem(const std::wstring& problem) {
    if (!problem.empty()) ::MessageBoxW(m_hWnd, problem.c_str(), L"Corvane-Sweepmere", MB_OK | MB_ICONWARNING);
    return !problem.empty();
}

void CSchedulerDlg::OnStartNow() {
    const std::wstring name = SelectedTask();
    if (name.empty()) return;
    bool direct = false;
    if (Problem(engine::StartTask(name, &direct)) || !direct) return;
    m_tasks.SetItemText(SelectedRow(), kAdvancedColumn, L"started directly: the Task Scheduler cannot run it");
}

void CSchedulerDlg::OnRemoveTask() {
    const std::wstring name = SelectedTask();
    if (name.empty()) return;
    Problem(engine::RemoveTask(name));
    ReloadTasks();
}

void CSchedulerDlg::EnableSelected(bool enabled) {
    const std::wstring name = SelectedTask();
    if (name.empty()) return;
    Problem(engine::EnableTask(name, enabled));
    ReloadTasks();
}

void CSchedulerDlg::EnableAll(bool enabled) {
    for (int i = 0; i < m_tasks.GetItemCount(); ++i)
        if (Problem(engine::EnableTask(std::wstring(m_tasks.GetItemText(i, kNameColumn)), enabled))) break;
    ReloadTasks();
}
