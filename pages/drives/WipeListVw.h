#pragma once
#include "PageLook.h"

// Explains what wipe lists are; it reads and changes nothing, and sets no caption.
class CWipeListVw : public CPageView {
public:
    CWipeListVw();
};
