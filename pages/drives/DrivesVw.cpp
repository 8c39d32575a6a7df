#include "DrivesVw.h"

#include "LastChosenText.h"
#include "resource.h"

namespace {
look::PageLook DrivesLook() {
    using namespace look;
    return {kWhite,
            {Colour(kPageColour, {1063, 1067, 1069, 1072, 1073, 1074, 1232, 111, 222, 333, 444}),
             Colour(kDriveRowGrey, {555, 666, 777, 888}),
             Font(kDriveLabelFont, {1073}),
             Font(kTextFont, {1063, 1072}),
             Font(kTitleFont, {1074}),
             Font(kDriveHeadingFont, {1067, 1069})}};
}
}  // namespace

CDrivesVw::CDrivesVw() : CPageView(IDD_DRIVES, DrivesLook(), nullptr) {}

// The caption follows the tree's last choice, read anew at every drawing.
std::optional<std::string> CDrivesVw::Caption() const { return LastChosenText(); }
