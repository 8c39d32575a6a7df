#pragma once
#include <optional>

#include "ExpandingDialog.h"
#include "Schedule.h"

// The scheduler: the user describes an erase task, and Apply registers it with Windows' Task
// Scheduler; the task list is the scheduler's, and its buttons act on the registered tasks.
class CSchedulerDlg : public CExpandingDialog {
public:
    explicit CSchedulerDlg(CWnd* pParent = nullptr);

    enum Column { kNameColumn, kScheduledColumn, kAdvancedColumn, kStatusColumn };

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnManually();
    void OnAtTime();
    void OnEvery();
    void OnTaskNameChange();
    void OnApply();
    void OnStartNow();
    void OnRemoveTask();
    void OnActivate() { EnableSelected(true); }
    void OnDeactivate() { EnableSelected(false); }
    void OnActivateAll() { EnableAll(true); }
    void OnDeactivateAll() { EnableAll(false); }

    // The tasks of the program's folder, read from the scheduler again.
    void ReloadTasks();

    std::wstring m_strTaskName;
    CButton m_manually, m_on, m_every, m_atTime, m_firstStartup, m_apply, m_turnOff;
    CDateTimeCtrl m_date, m_time;
    CListBox m_kinds, m_hours, m_minutes;
    CListCtrl m_tasks, m_categories;

    DECLARE_MESSAGE_MAP()

private:
    // The task the controls describe; nothing when "On" has no time.
    std::optional<engine::TaskSpec> DescribedTask();
    int SelectedRow() const;
    std::wstring SelectedTask() const;
    void EnableSelected(bool enabled);
    void EnableAll(bool enabled);
    // Shows the scheduler's refusal; false when there was none.
    bool Problem(const std::wstring& problem);
    std::vector<std::string> m_keys;  // the category list's rows
};
