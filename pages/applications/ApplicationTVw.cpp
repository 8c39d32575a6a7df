#include "ApplicationTVw.h"

#include "resource.h"

namespace {
const int kCheckIds[10] = {1174, 1171, 1160, 1166, 1163, 1260, 1169, 1259, 1258, 1086};
const int kLinkIds[10] = {1216, 1212, 1213, 1209, 1211, 1210, 1208, 1207, 1206, 1215};

look::PageLook ApplicationTracesLook() {
    using namespace look;
    return {kWhite,
            {Colour(kPageColour, {1151, 1152, 1153, 1155, 1157, 1159, 1162, 1165, 1168, 1023, 1072, 1173, 1227}),
             Colour(kWhite, {1154, 1156, 1158, 1161, 1164, 1167, 1170, 1172, 1175, 1186, 1206, 1207, 1208, 1209, 1210,
                             1211, 1212, 1213, 1215, 1216}),
             Font(kTitleFont, {1151}),
             Font(kSummaryTextFont, {1152, 1154, 1156, 1158, 1161, 1164, 1167, 1170, 1172, 1175, 1186}),
             Font(kHeadingFont, {1153, 1155, 1157, 1159, 1162, 1165, 1168, 1023, 1072, 1173})}};
}
}  // namespace

CApplicationTVw::CApplicationTVw() : CPageView(IDD_APPTRACES, ApplicationTracesLook(), "Application Traces") {}

void CApplicationTVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    for (int i = 0; i < 10; ++i) DDX_Control(pDX, kCheckIds[i], m_checks[i]);
    for (int i = 0; i < 10; ++i) DDX_Control(pDX, kLinkIds[i], m_links[i]);
}

CAAVw::CAAVw() : CPageView(IDD_ACROBAT, look::ListLook(IDC_ACROBAT_TITLE, IDC_ACROBAT_TEXT), "Acrobat Reader") {}
