#pragma once

#include "SummaryErase.h"

// The overview of the four Internet trace categories: each one can be erased on its own or with
// the others that are checked, and its link opens the category's own page. "Erase Selected" is
// offered while anything is checked.
class CInternetVw : public CErasingSummaryView {
public:
    CInternetVw();
    void DoDataExchange(CDataExchange* pDX) override;

    void OnSelectAll() override;
    void OnClearAll() override;
    void OnCheckBox();

    DECLARE_MESSAGE_MAP()

protected:
    void EnableButtons(bool enable) override;
};
