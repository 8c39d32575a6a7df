#pragma once
#include "SummaryErase.h"

// The overview of the ten application trace categories; each row erases its category's list.
class CApplicationTVw : public CErasingSummaryView {
public:
    CApplicationTVw();
};
