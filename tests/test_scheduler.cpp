// The scheduler dialog, opened by its command on the running application and driven from
// inside its own message loop.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "ModalScript.h"
#include "SchedulerDlg.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;
using Cells = std::vector<std::wstring>;

namespace {
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
    TypeText(dlg, IDC_SCHEDULER_TASKNAME, name);
    ASSERT_TRUE(Enabled(dlg, IDC_SCHEDULER_APPLY));
    Click(dlg, IDC_SCHEDULER_APPLY);
    EXPECT_FALSE(Enabled(dlg, IDC_SCHEDULER_APPLY));
}

// Sets the picker to 14:05:09, or with GDT_NONE unticks its check box (Wine wants a time even then).
void SetPickerTime(HWND dlg, DWORD valid) {
    SYSTEMTIME at{2026, 3, 0, 14, 14, 5, 9, 0};
    ::SendMessageW(::GetDlgItem(dlg, IDC_SCHEDULER_TIME), DTM_SETSYSTEMTIME, valid, reinterpret_cast<LPARAM>(&at));
}

Cells Row(CSchedulerDlg& d, int row) {
    Cells cells;
    for (int c = 0; c < 4; ++c) cells.push_back(d.m_tasks.GetItemText(row, c));
    return cells;
}
}  // namespace

TEST(Scheduler, OpensReducedAndManualAndEachChoiceEnablesItsControls) {
    OpenScheduler([](HWND dlg, CSchedulerDlg& d) {
        EXPECT_TRUE(IsReduced(dlg));
        for (int id : {IDC_SCHEDULER_TASK_LIST, IDC_SCHEDULER_ACTIVATE_ALL, IDC_SCHEDULER_APPLY, IDC_SCHEDULER_DATE,
                       IDC_SCHEDULER_TIME, IDC_SCHEDULER_AT_TIME, IDC_SCHEDULER_FIRST_STARTUP,
                       IDC_SCHEDULER_EVERY_KIND})
            EXPECT_FALSE(Enabled(dlg, id)) << id;
        EXPECT_EQ(d.m_manually.GetCheck(), BST_CHECKED);
        EXPECT_EQ(::GetFocus(), d.m_manually.m_hWnd);
        EXPECT_TRUE(Visible(dlg, IDC_SCHEDULER_DATE));
        EXPECT_FALSE(Visible(dlg, IDC_SCHEDULER_HOURS) || Visible(dlg, IDC_SCHEDULER_MINUTES));
        SYSTEMTIME t;
        EXPECT_EQ(d.m_time.GetTime(&t), static_cast<DWORD>(GDT_VALID));

        Click(dlg, IDC_SCHEDULER_ON);
        for (int id : {IDC_SCHEDULER_DATE, IDC_SCHEDULER_TIME, IDC_SCHEDULER_AT_TIME, IDC_SCHEDULER_FIRST_STARTUP})
            EXPECT_TRUE(Enabled(dlg, id)) << id;
        TypeText(dlg, IDC_SCHEDULER_TASKNAME, L"N");
        EXPECT_TRUE(Enabled(dlg, IDC_SCHEDULER_APPLY));

        Click(dlg, IDC_SCHEDULER_EVERY);
        EXPECT_TRUE(Enabled(dlg, IDC_SCHEDULER_EVERY_KIND));
        EXPECT_FALSE(Enabled(dlg, IDC_SCHEDULER_FIRST_STARTUP));
        EXPECT_FALSE(Visible(dlg, IDC_SCHEDULER_DATE));
        EXPECT_TRUE(Visible(dlg, IDC_SCHEDULER_HOURS) && Visible(dlg, IDC_SCHEDULER_MINUTES));
        // Entering "Every" again appends the hours and minutes again.
        Click(dlg, IDC_SCHEDULER_MANUALLY);
        Click(dlg, IDC_SCHEDULER_EVERY);
        ASSERT_EQ(d.m_hours.GetCount(), 48);
        ASSERT_EQ(d.m_minutes.GetCount(), 120);
        EXPECT_EQ((Cells{d.m_hours.GetText(9), d.m_hours.GetText(24), d.m_minutes.GetText(7), d.m_minutes.GetText(60)}),
                  (Cells{L"9", L"0", L"07", L"00"}));
    });
}

TEST(Scheduler, EachApplyTogglesTheSizeOnTheScreenAndInsertsTheTaskAtTheTop) {
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
        EXPECT_EQ(Row(d, 0), (Cells{L"Morning", L"Manually", L"", L"Active"}));

        SetPickerTime(dlg, GDT_VALID);
        ApplyTask(dlg, L"Noon", IDC_SCHEDULER_ON);
        EXPECT_TRUE(IsReduced(dlg));
        ASSERT_EQ(d.m_tasks.GetItemCount(), 2);
        EXPECT_EQ(Row(d, 0), (Cells{L"Noon", L"at 14:05:09 on", L"", L"Active"}));
        EXPECT_EQ(d.m_tasks.GetItemText(1, 0), L"Morning");

        ApplyTask(dlg, L"Hourly", IDC_SCHEDULER_EVERY);  // "Every" keeps only the name
        EXPECT_TRUE(d.IsExpanded());
        EXPECT_EQ(Row(d, 0), (Cells{L"Hourly", L"", L"", L""}));
        EXPECT_EQ(d.m_tasks.GetItemCount(), 3);
    });
}

TEST(Scheduler, OnWithoutATimeSaysTimeNotSetAndReopeningShowsAnEmptyList) {
    DialogAnswerer box(L"Application");
    OpenScheduler([](HWND dlg, CSchedulerDlg& d) {
        SetPickerTime(dlg, GDT_NONE);
        ApplyTask(dlg, L"Whenever", IDC_SCHEDULER_ON);
        EXPECT_EQ(Row(d, 0), (Cells{L"Whenever", L"", L"", L""}));
    });
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, L"Time not set!");
    OpenScheduler([](HWND dlg, CSchedulerDlg& d) {
        EXPECT_EQ(d.m_tasks.GetItemCount(), 0);
        EXPECT_EQ(ItemText(dlg, IDC_SCHEDULER_TASKNAME), L"");
    });
}
