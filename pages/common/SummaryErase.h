// A summary page whose rows erase: a row's Erase runs that row's category, "Erase Now" runs every
// checked row's. The erases run on the engine's worker while the page's buttons are disabled;
// the one report box then tells what each category did.
#pragma once
#include <memory>
#include <vector>

#include "Report.h"
#include "SummaryPage.h"
#include "Inbox.h"
#include "Worker.h"

class CErasingSummaryView : public CSummaryView {
public:
    explicit CErasingSummaryView(const SummaryFace& face);
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void OnDestroy() override;

    void OnEraseNow();
    void OnEraseRow(const SummaryRow& row);
    // From pressing an erase until its report (and what follows it) is closed.
    bool Erasing() const { return m_erasing; }

    static const wchar_t kNothingChecked[];

protected:
    // Enables or disables every button and link of the page (a row that cannot erase stays off).
    virtual void EnableButtons(bool enable);
    bool CanErase(const SummaryRow& row) const;

private:
    void StartErase(std::vector<const SummaryRow*> rows);
    void Erased(const std::vector<engine::Outcome>& outcomes, const std::vector<const SummaryRow*>& rows);
    bool m_erasing = false;
    std::shared_ptr<ui::Inbox> m_inbox;
    engine::Worker m_worker;
};
