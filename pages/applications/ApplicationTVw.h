#pragma once
#include "SummaryPage.h"

// The overview of the ten application trace categories.
class CApplicationTVw : public CSummaryView {
public:
    CApplicationTVw();
};

// The document reader's recent files: no source is known, so it lists nothing.
class CAAVw : public CPageView {
public:
    CAAVw();
};
