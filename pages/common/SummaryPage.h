// The summary pages (Internet, System, Application Traces): one row per category with a heading,
// a check box, an Erase button, a description and a "Details..." link that opens the category's
// page. The rows are data; the look, the bindings, Select All / Clear All and the links follow
// from them.
#pragma once
#include <vector>

#include "LinkButton.h"
#include "PageLook.h"
#include "OpenPage.h"

struct SummaryRow {
    int headingId, checkId, eraseId, descriptionId, detailsId;
    const char* key;  // the category (the engine's key): what the link opens and Erase runs
    void (*afterReport)() = nullptr;  // what follows the category's erase once the report is closed
    int order = 0;                    // "Erase Now" runs the checked rows by this, then top to bottom
};

struct SummaryFace {
    UINT dialog;
    const wchar_t* caption;
    int titleId, textId, bandId;
    int selectAllId, clearAllId, eraseAllId;
    std::vector<SummaryRow> rows;  // top to bottom
};

class CSummaryView : public CPageView {
public:
    explicit CSummaryView(const SummaryFace& face);
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    const SummaryFace& Face() const { return m_face; }

    virtual void OnSelectAll();
    virtual void OnClearAll();
    // A "Details..." link the shell could not open: open its row's page. Other ids are ignored.
    virtual LRESULT OnLinkClicked(WPARAM wParam, LPARAM lParam);

    std::vector<CButton> m_checks;     // one per row, in row order
    std::vector<CLinkButton> m_links;  // one per row, in row order

    DECLARE_MESSAGE_MAP()

protected:
    void SetAllChecks(int check);
    bool IsChecked(const SummaryRow& row) const;
    const SummaryFace& m_face;
};

// The look of a summary page, derived from its rows: white page with the header band, title,
// text and headings on the page colour; descriptions and links on white.
look::PageLook SummaryLook(const SummaryFace& face);
