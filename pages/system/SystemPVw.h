#pragma once
#include "SummaryPage.h"

// The overview of the ten system trace categories.
class CSystemPVw : public CSummaryView {
public:
    CSystemPVw();
};
