#include "USpaceVw.h"

#include "resource.h"

namespace {
look::PageLook UnusedSpaceLook() {
    using namespace look;
    return {kWhite,
            {Colour(kPageColour, {1057, 1229, 1230, 1234, 1235, 1236, 1237, 1238}),
             Font(kSettingsFont, {1235, 1236, 1237, 1238}),
             Font(kTitleFont, {1234, 1057})}};
}
}  // namespace

CUSpaceVw::CUSpaceVw() : CPageView(IDD_USPACE, UnusedSpaceLook(), "Veduva123") {}

void CUSpaceVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_USPACE_SELECTALL, m_selectAll);
    DDX_Control(pDX, IDC_USPACE_CLEARALL, m_clearAll);
    DDX_Control(pDX, IDC_USPACE_BAND, m_band);
}
