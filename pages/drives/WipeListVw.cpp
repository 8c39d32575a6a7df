#include "WipeListVw.h"

#include "resource.h"

namespace {
look::PageLook WipeListLook() {
    using namespace look;
    return {kWipeListGrey,
            {Colour(kWipeListGrey, {1189, 1190, 1191, 1192, 1193}),
             Font(kTitleFont, {1189}),
             Font(kTextFont, {1190, 1191, 1193}),
             Font(kHeadingFont, {1192})}};
}
}  // namespace

CWipeListVw::CWipeListVw() : CPageView(IDD_WIPELIST, WipeListLook(), nullptr) {}
