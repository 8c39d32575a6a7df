// A summary page whose rows erase: a row's Erase runs that row's window-less erase, "Erase Now"
// runs every checked row's in row order. The erases run on a worker while the page's buttons are
// disabled; one message box then tells what each category did.
#pragma once
#include <memory>
#include <vector>

#include "FileWalk.h"
#include "SummaryPage.h"

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

    DECLARE_MESSAGE_MAP()

public:
    struct Run;

private:
    void StartErase(const std::vector<const SummaryRow*>& rows);
    LRESULT OnErased(WPARAM, LPARAM);
    void EnableButtons(bool enable);
    bool m_erasing = false;
    std::shared_ptr<Run> m_run;
    filewalk::WalkThread m_worker;
};
