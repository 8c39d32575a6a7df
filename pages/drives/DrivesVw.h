#pragma once
#include "PageLook.h"

// One drive of the machine: the one whose drive text the category tree chose last.
class CDrivesVw : public CPageView {
public:
    CDrivesVw();

protected:
    std::optional<std::string> Caption() const override;
};
