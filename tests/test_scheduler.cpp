// The scheduler dialog, opened by its command on the running application and driven from
// inside its own message loop, against the test prefix's own Task Scheduler.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "ModalScript.h"
#include "Schedule.h"
#include "SchedulerDlg.h"
#include "resource.h"

using namespace testkit;
using Cells = std::vector<std::wstring>;

namespace {
void RemoveAllTasks() {
    std::vector<engine::ScheduledTask> tasks;
    engine::ListTasks(tasks);
    for (const engine::ScheduledTask& t : tasks) engine::RemoveTask(t.plan.name);
}

void OpenScheduler(const std::function<void(HWND, CSchedulerDlg&)>& script) {
    StartApp();
    EXPECT_TRUE(WithModalDialog(
        L"Scheduler",
        [&](HWND h) {
            auto* dlg = dynamic_cast<CSchedulerDlg*>(CWnd::FromHandlePermanent(h));
            ASSERT_NE(dlg, nullptr);
            script(h, *dlg);
        },
        [] { AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_SCHEDULER); }));
}

bool Enabled(HWND dlg, int id) { return ::IsWindowEnabled(::GetDlgItem(dlg, id)) != FALSE; }
bool Visible(HWND dlg, int id) { return ::IsWindowVisible(::GetDlgItem(dlg, id)) != FALSE; }

// Reduced, the window ends at the "Task Scheduler" group's right and bottom edges.
bool IsReduced(HWND dlg) {
    CRect box, window;
    ::GetWindowRect(::GetDlgItem(dlg, IDC_SCHEDULER_GROUP), &box);
    ::GetWindowRect(dlg, &window);
    return window.right == box.right && window.bottom == box.bottom;
}

void ApplyTask(HWND dlg, const std::wstring& name, int radio) {
    Click(dlg, radio);
    dynamic_cast<CSchedulerDlg*>(CWnd::FromHandlePermanent(dlg))->m_categories.SetCheck(3);
    TypeText(dlg, IDC_SCHEDULER_TASKNAME, name);
    ASSERT_TRUE(Enabled(dlg, IDC_SCHEDULER_APPLY));
    Click(dlg, IDC_SCHEDULER_APPLY);
    EXPECT_FALSE(Enabled(dlg, IDC_SCHEDULER_APPLY));
}

// Sets a picker, or with GDT_NONE unticks its check box (Wine wants a time even then).
void SetPicker(HWND dlg, int picker, SYSTEMTIME at, DWORD valid = GDT_VALID) {
    ::SendDlgItemMessageW(dlg, picker, DTM_SETSYSTEMTIME, valid, reinterpret_cast<LPARAM>(&at));
}

// The row of a task (name, "Task Scheduled", "Advanced", "Status"), selected; empty when not listed.
Cells Row(CSchedulerDlg& d, const std::wstring& name) {
    Cells cells;
    for (int row = 0; row < d.m_tasks.GetItemCount(); ++row) {
        if (d.m_tasks.GetItemText(row, 0) != name) continue;
        LVITEMW item{};
        item.stateMask = item.state = LVIS_SELECTED;
        d.m_tasks.SendMessage(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
        for (int c = 0; c < 4; ++c) cells.push_back(d.m_tasks.GetItemText(row, c));
    }
    return cells;
}
}  // namespace

// On without a time or with a refused name registers nothing; at first startup needs no time.
TEST(Scheduler, OpensReducedAndManualEachChoiceEnablesItsControlsAndOnlyACompleteTaskIsRegistered) {
    RemoveAllTasks();
    DialogAnswerer box(L"Application");
    DialogAnswerer refusal(L"Corvane-Sweepmere");
    OpenScheduler([](HWND dlg, CSchedulerDlg& d) {
        EXPECT_TRUE(IsReduced(dlg));
        for (int id : {IDC_SCHEDULER_TASK_LIST, IDC_SCHEDULER_ACTIVATE_ALL, IDC_SCHEDULER_APPLY, IDC_SCHEDULER_DATE,
                       IDC_SCHEDULER_TIME, IDC_SCHEDULER_AT_TIME, IDC_SCHEDULER_FIRST_STARTUP,
                       IDC_SCHEDULER_EVERY_KIND})
            EXPECT_FALSE(Enabled(dlg, id)) << id;
        EXPECT_TRUE(d.m_manually.GetCheck() == BST_CHECKED && ::GetFocus() == d.m_manually.m_hWnd);
        EXPECT_TRUE(Visible(dlg, IDC_SCHEDULER_DATE) && !Visible(dlg, IDC_SCHEDULER_HOURS) && !Visible(dlg, IDC_SCHEDULER_MINUTES));
        SYSTEMTIME t;
        EXPECT_EQ(d.m_time.GetTime(&t), static_cast<DWORD>(GDT_VALID));

        Click(dlg, IDC_SCHEDULER_ON);
        for (int id : {IDC_SCHEDULER_DATE, IDC_SCHEDULER_TIME, IDC_SCHEDULER_AT_TIME, IDC_SCHEDULER_FIRST_STARTUP})
            EXPECT_TRUE(Enabled(dlg, id)) << id;
        TypeText(dlg, IDC_SCHEDULER_TASKNAME, L"N");
        EXPECT_TRUE(Enabled(dlg, IDC_SCHEDULER_APPLY));

        Click(dlg, IDC_SCHEDULER_EVERY);
        EXPECT_TRUE(Enabled(dlg, IDC_SCHEDULER_EVERY_KIND) && !Enabled(dlg, IDC_SCHEDULER_FIRST_STARTUP));
        EXPECT_TRUE(!Visible(dlg, IDC_SCHEDULER_DATE) && Visible(dlg, IDC_SCHEDULER_HOURS) && Visible(dlg, IDC_SCHEDULER_MINUTES));
        // Entering "Every" again adds no second set of hours and minutes.
        Click(dlg, IDC_SCHEDULER_MANUALLY);
        Click(dlg, IDC_SCHEDULER_EVERY);
        EXPECT_EQ((std::pair{d.m_hours.GetCount(), d.m_minutes.GetCount()}), (std::pair{24, 60}));
        // One row per category that erases, none checked: the task's choice.
        EXPECT_TRUE(d.m_categories.GetItemText(3, 0) == L"Typed URLs" && !d.m_categories.GetCheck(3));

        SetPicker(dlg, IDC_SCHEDULER_TIME, {2026, 3, 0, 14, 14, 5, 9, 0}, GDT_NONE);
        ApplyTask(dlg, L"Whenever", IDC_SCHEDULER_ON);
        ApplyTask(dlg, L"a/b", IDC_SCHEDULER_MANUALLY);
        EXPECT_EQ(d.m_tasks.GetItemCount(), 0);
        Click(dlg, IDC_SCHEDULER_ON);
        Click(dlg, IDC_SCHEDULER_FIRST_STARTUP);
        ApplyTask(dlg, L"Boot", IDC_SCHEDULER_ON);  // no time needed
        EXPECT_EQ(Row(d, L"Boot")[1], L"at system startup");
    });
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, L"Time not set!");
    ASSERT_EQ(refusal.Count(), 1u);
    EXPECT_EQ(refusal.Seen()[0].text, L"A task's name cannot hold any of \\ / : * ? \" < > | or a control character.");
    RemoveAllTasks();
}

TEST(Scheduler, EachApplyTogglesTheSizeAndRegistersATaskThatTheListAndItsButtonsAct) {
    RemoveAllTasks();
    OpenScheduler([](HWND dlg, CSchedulerDlg& d) {
        RECT work;
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        CRect reduced, full;
        ::GetWindowRect(dlg, &reduced);
        ::SetWindowPos(dlg, nullptr, reduced.left, work.bottom - reduced.Height(), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ApplyTask(dlg, L"Morning", IDC_SCHEDULER_MANUALLY);
        ::GetWindowRect(dlg, &full);
        EXPECT_TRUE(d.IsExpanded() && full.Height() > reduced.Height());
        EXPECT_TRUE(full.top >= work.top && full.bottom <= work.bottom) << full.top << L".." << full.bottom;
        EXPECT_TRUE(Enabled(dlg, IDC_SCHEDULER_TASK_LIST));
        EXPECT_EQ(Row(d, L"Morning"), (Cells{L"Morning", L"Manually", L"", L"Active"}));

        SetPicker(dlg, IDC_SCHEDULER_TIME, {2026, 3, 0, 14, 14, 5, 9, 0});
        SetPicker(dlg, IDC_SCHEDULER_DATE, {2030, 3, 0, 14, 0, 0, 0, 0});  // the day from here, the time from above
        ApplyTask(dlg, L"Noon", IDC_SCHEDULER_ON);
        EXPECT_TRUE(IsReduced(dlg) && Row(d, L"Noon")[1] == L"at 14:05 on 2030-03-14");

        d.m_kinds.SetCurSel(2);  // "Week"
        d.m_hours.SetCurSel(7);
        ApplyTask(dlg, L"Weekly", IDC_SCHEDULER_EVERY);
        EXPECT_EQ(Row(d, L"Weekly")[1], L"every Thursday at 07:00");
        ASSERT_EQ(d.m_tasks.GetItemCount(), 3);

        Click(dlg, IDC_SCHEDULER_DEACTIVATE);  // on the row just read
        EXPECT_EQ(Row(d, L"Weekly")[3], L"Inactive");
        Click(dlg, IDC_SCHEDULER_DEACTIVATE_ALL);
        Click(dlg, IDC_SCHEDULER_ACTIVATE);
        EXPECT_EQ((Cells{Row(d, L"Weekly")[3], Row(d, L"Morning")[3]}), (Cells{L"Active", L"Inactive"}));
        Click(dlg, IDC_SCHEDULER_ACTIVATE_ALL);
        EXPECT_EQ(Row(d, L"Morning")[3], L"Active");  // and selected, for the buttons below
        // Wine's scheduler cannot run a task: the same action is started directly, and the row says so.
        Click(dlg, IDC_SCHEDULER_START_NOW);
        EXPECT_EQ(Row(d, L"Morning")[2], L"started directly: the Task Scheduler cannot run it");
        Click(dlg, IDC_SCHEDULER_REMOVE_TASK);
        EXPECT_TRUE(Row(d, L"Morning").empty());
        EXPECT_EQ(d.m_tasks.GetItemCount(), 2);
    });
    // Reopened, the list is the scheduler's.
    OpenScheduler([](HWND, CSchedulerDlg& d) {
        EXPECT_EQ(Row(d, L"Weekly"), (Cells{L"Weekly", L"every Thursday at 07:00", L"", L"Active"}));
        EXPECT_EQ(d.m_tasks.GetItemCount(), 2);
    });
    RemoveAllTasks();
}
