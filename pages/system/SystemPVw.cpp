#include "SystemPVw.h"

#include "resource.h"

namespace {
const int kLinkIds[10] = {1196, 1197, 1198, 1199, 1200, 1201, 1202, 1203, 1204, 1205};
const int kCheckIds[10] = {1142, 1138, 1134, 1130, 1126, 1122, 1148, 1147, 1035, 1052};

look::PageLook SystemLook() {
    using namespace look;
    return {kWhite,
            {Colour(kPageColour, {1110, 1111, 1112, 1114, 1116, 1118, 1121, 1125, 1129, 1133, 1137, 1141, 1224}),
             Colour(kWhite, {1113, 1115, 1117, 1120, 1124, 1128, 1132, 1136, 1140, 1144, 1196, 1197, 1198, 1199,
                             1200, 1201, 1202, 1203, 1204, 1205}),
             Font(kTitleFont, {1110}),
             Font(kSummaryTextFont, {1111, 1113, 1115, 1117, 1120, 1124, 1128, 1132, 1136, 1140, 1144}),
             Font(kHeadingFont, {1112, 1114, 1116, 1118, 1121, 1125, 1129, 1133, 1137, 1141})}};
}
}  // namespace

CSystemPVw::CSystemPVw() : CPageView(IDD_SYSTEM, SystemLook(), "System") {}

void CSystemPVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    for (int i = 0; i < 10; ++i) DDX_Control(pDX, kLinkIds[i], m_links[i]);
    for (int i = 0; i < 10; ++i) DDX_Control(pDX, kCheckIds[i], m_checks[i]);
}
