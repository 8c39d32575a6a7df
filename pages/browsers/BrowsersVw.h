// The Web Browsers summary: one row per category of each browser found on this machine (the
// browser, the category, how many profiles, how much it holds), made once the survey is back. A
// row's Erase erases its category, Erase Now every checked one; one report tells what each did.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Browsers.h"
#include "PageLook.h"
#include "Report.h"
#include "Inbox.h"
#include "Worker.h"

class CBrowsersFrm : public CMDIChildWnd {};

class CBrowsersVw : public CPageView {
public:
    CBrowsersVw();
    void OnInitialUpdate() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnDestroy() override;

    void OnSelectAll();
    void OnClearAll();
    void OnEraseNow();
    void OnEraseRow(size_t row);

    // From opening, or pressing an erase, until the rows (and the report) are in.
    bool Busy() const { return m_busy; }
    const std::vector<engine::BrowserSurveyRow>& Rows() const { return m_rows; }
    // The ids of a row's controls.
    static int HeadingId(size_t row) { return kRowIds + static_cast<int>(row) * kIdsPerRow; }
    static int CheckId(size_t row) { return HeadingId(row) + 1; }
    static int EraseId(size_t row) { return HeadingId(row) + 2; }
    static int DescriptionId(size_t row) { return HeadingId(row) + 3; }

    static const wchar_t kNoneFound[];
    static const wchar_t kNothingChecked[];

    DECLARE_MESSAGE_MAP()

private:
    static constexpr int kRowIds = 0x5000, kIdsPerRow = 5;

    // Runs the erases (none: only the survey) and then the survey on the worker.
    void Start(std::vector<std::string> keys);
    void Finished(std::vector<engine::BrowserSurveyRow> rows, const std::vector<engine::Outcome>& outcomes);
    void ShowRows(std::vector<engine::BrowserSurveyRow> rows);
    void PlaceButtons();
    void EnableButtons(bool enable);
    bool Checked(size_t row) const;

    std::vector<engine::BrowserSurveyRow> m_rows;
    std::vector<HWND> m_rowWindows;
    std::shared_ptr<ui::Inbox> m_inbox;
    engine::Worker m_worker;
    bool m_busy = false;
};
