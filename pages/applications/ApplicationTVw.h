#pragma once
#include "SummaryErase.h"

// The overview of the ten application trace categories; the rows with a recent-file list of
// their own erase it from here (the word processor and the document reader have none).
class CApplicationTVw : public CErasingSummaryView {
public:
    CApplicationTVw();
};

// The document reader's recent files: no source is known, so it lists nothing.
class CAAVw : public CPageView {
public:
    CAAVw();
};
