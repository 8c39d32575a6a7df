#pragma once
#include "SummaryErase.h"

// The overview of the ten system trace categories, each erased from here on its own or with the
// others that are checked.
class CSystemPVw : public CErasingSummaryView {
public:
    CSystemPVw();
};
