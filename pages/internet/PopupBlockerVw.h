#pragma once
#include "PageLook.h"

// The options page of a popup blocker that the program does not have: no template opens it.
class CPopupBlockerVw : public CPageView {
public:
    CPopupBlockerVw();
};
