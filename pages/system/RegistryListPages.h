#pragma once
#include "PageLook.h"

// Files recently opened through the Open File dialog: no source is known, so nothing is listed.
class COFHistoryVw : public CPageView {
public:
    COFHistoryVw();
};

// Most frequently used programs: no source is known, so nothing is listed; it sets no caption.
class CMFURegVw : public CPageView {
public:
    CMFURegVw();
};
