#include "EventLogVw.h"

#include "resource.h"

CEventLogVw::CEventLogVw() : CPageView(IDD_EVENTLOG, look::ListLook(IDC_EVENTLOG_TITLE, IDC_EVENTLOG_TEXT), "Event Log") {}

void CEventLogVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EVENTLOG_LIST, m_list);
}
