#include "PopupBlockerVw.h"

#include "resource.h"

CPopupBlockerVw::CPopupBlockerVw()
    : CPageView(IDD_POPUP, look::PageLook{look::kPageColour, {}}, L"Corvane Popup Blocker") {}
