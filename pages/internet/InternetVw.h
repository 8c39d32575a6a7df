#pragma once
#include <vector>

#include "SummaryPage.h"

// The overview of the four Internet trace categories: each one can be erased on its own or
// with the others that are checked, and its link opens the category's own page.
class CInternetVw : public CSummaryView {
public:
    CInternetVw();
    void DoDataExchange(CDataExchange* pDX) override;

    void OnSelectAll() override;
    void OnClearAll() override;
    void OnCheckBox();
    void OnEraseTypedUrl();
    void OnEraseHistory();
    void OnEraseCookies();
    void OnEraseTempNet();
    void OnEraseSelected();

    CButton m_clearAll, m_selectAll;
    CButton m_eraseTypedUrl, m_eraseHistory, m_eraseCookies, m_eraseTempNet;
    CButton m_eraseSelected;

    enum class Category { TypedUrls, History, Cookies, TempInternetFiles };

    DECLARE_MESSAGE_MAP()

private:
    // Runs the erases in the given order with the busy set disabled.
    void RunErases(const std::vector<Category>& categories);
    void EnableBusySet(BOOL enable);
};
