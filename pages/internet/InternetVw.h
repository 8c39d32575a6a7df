#pragma once
#include <vector>

#include "LinkButton.h"
#include "PageLook.h"

// The overview of the four Internet trace categories: each one can be erased on its own or
// with the others that are checked, and its link opens the category's own page.
class CInternetVw : public CPageView {
public:
    CInternetVw();
    void DoDataExchange(CDataExchange* pDX) override;

    void OnSelectAll();
    void OnClearAll();
    void OnCheckBox();
    void OnEraseTypedUrl();
    void OnEraseHistory();
    void OnEraseCookies();
    void OnEraseTempNet();
    void OnEraseSelected();
    // A "Details..." link could not be opened by the shell: open the category's page instead.
    virtual LRESULT OnLinkClicked(WPARAM wParam, LPARAM lParam);

    CButton m_clearAll, m_selectAll;
    CButton m_eraseTypedUrl, m_eraseHistory, m_eraseCookies, m_eraseTempNet;
    CButton m_checkHistory, m_checkTypedUrl;
    CButton m_eraseSelected;
    CLinkButton m_detailsTypedUrl, m_detailsHistory, m_detailsCookies, m_detailsTempNet;
    CButton m_checkCookies, m_checkTempNet;

    enum class Category { TypedUrls, History, Cookies, TempInternetFiles };

    DECLARE_MESSAGE_MAP()

private:
    // Runs the erases in the given order with the busy set disabled.
    void RunErases(const std::vector<Category>& categories);
    void EnableBusySet(BOOL enable);
    void SetAllChecks(int check);
};
