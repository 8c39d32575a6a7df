#include "RegistryListPages.h"

#include "resource.h"

COFHistoryVw::COFHistoryVw() : CPageView(IDD_OFHISTORY, look::ListLook(IDC_OFHISTORY_TITLE, IDC_OFHISTORY_TEXT), "Open File History") {}

CMFURegVw::CMFURegVw() : CPageView(IDD_MFUREG, look::ListLook(IDC_MFUREG_TITLE, IDC_MFUREG_TEXT), nullptr) {}
