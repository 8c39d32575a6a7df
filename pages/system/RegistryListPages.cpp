#include "RegistryListPages.h"

#include "PageMessage.h"
#include "Settings.h"
#include "resource.h"

CRegistryListView::CRegistryListView(UINT dialog, int titleId, int textId, int listId, const wchar_t* caption,
                                     const char* category)
    : CPageView(dialog, look::ListLook(titleId, textId), caption), m_listId(listId), m_category(category) {}

void CRegistryListView::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, m_listId, m_list);
    if (pDX->m_bSaveAndValidate) return;
    // Paths are long: one full-width row each reads better than icons with wrapped labels.
    m_list.ModifyStyle(LVS_TYPEMASK, LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL);
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, client.Width() - ::GetSystemMetrics(SM_CXVSCROLL));
    Fill();
}

void CRegistryListView::Fill() {
    m_list.DeleteAllItems();
    const engine::TraceDef* def = engine::FindTraceDefinition(m_category);
    m_entries = def ? engine::ReadTraces(*def) : std::vector<engine::TraceEntry>();
    for (const engine::TraceEntry& e : m_entries) m_list.InsertItem(m_list.GetItemCount(), e.text);
}

COFHistoryVw::COFHistoryVw()
    : CRegistryListView(IDD_OFHISTORY, IDC_OFHISTORY_TITLE, IDC_OFHISTORY_TEXT, IDC_OFHISTORY_LIST, L"Open File History",
                        engine::keys::kOpenFileHistory) {}

const wchar_t CMFURegVw::kNotErased[] = L"Some records of used programs could not be erased.";

const MsgMap CMFURegVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_MFUREG_ERASE, &CMFURegVw::OnErase),
}};

CMFURegVw::CMFURegVw()
    : CRegistryListView(IDD_MFUREG, IDC_MFUREG_TITLE, IDC_MFUREG_TEXT, IDC_MFUREG_LIST, nullptr, engine::keys::kMfu) {}

void CMFURegVw::OnErase() {
    // What the page lists is what goes; values added since it opened are left for the next look.
    engine::Result result = engine::EraseTraces(m_entries, settings::EraseOptions());
    Fill();
    if (!result.Complete()) ShowPageMessage(kNotErased);
}
