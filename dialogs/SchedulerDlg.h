#pragma once
#include <optional>

#include "ExpandingDialog.h"

// The scheduler: the user describes erase tasks, which are listed while the dialog is open.
// Nothing is stored or started; the tasks are gone when the dialog closes.
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

    std::wstring m_strTaskName;
    CButton m_manually, m_on, m_every, m_atTime, m_firstStartup, m_apply;
    CDateTimeCtrl m_date, m_time;
    CListBox m_kinds, m_hours, m_minutes;
    CListCtrl m_tasks;

    DECLARE_MESSAGE_MAP()

private:
    void SetUpColumns();
    // "at <time> on" from the time picker; nothing when the picker holds no time.
    std::optional<std::wstring> ScheduledText() const;
    bool m_columnsSet = false;
};
