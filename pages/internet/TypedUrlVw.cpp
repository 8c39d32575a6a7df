#include "TypedUrlVw.h"

#include "Categories.h"
#include "ReportBox.h"
#include "Settings.h"
#include "TraceCategories.h"
#include "resource.h"

const MsgMap CTypedUrlVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_TYPEDURL_ERASE, &CTypedUrlVw::OnErase),
}};

CTypedUrlVw::CTypedUrlVw() : CPageView(IDD_TYPEDURL, look::ListLook(IDC_TYPEDURL_TITLE, IDC_TYPEDURL_TEXT), L"Typed URL") {}

void CTypedUrlVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TYPEDURL_LIST, m_list);
    DDX_LBString(pDX, IDC_TYPEDURL_LIST, m_selection);
    // Only when the controls are filled: reading them back must not list everything twice.
    if (!pDX->m_bSaveAndValidate) Fill();
}

// What the engine lists: url1, url2, ... in registry order, up to the first value missing. A long
// address is listed too: the erase takes it with the rest.
void CTypedUrlVw::Fill() {
    if (const engine::TraceDef* def = engine::FindTraceDefinition(engine::keys::kTypedUrls))
        for (const engine::TraceEntry& e : engine::ReadTraces(*def)) m_list.AddString(e.text);
}

bool CTypedUrlVw::Erase() {
    // A key that was already missing is as erased as one deleted now.
    bool gone = engine::RunErase(engine::CategoryOf(engine::keys::kTypedUrls), settings::EraseOptions()).Complete();
    if (gone)
        for (int i = m_list.GetCount() - 1; i >= 0; --i) m_list.DeleteString(i);
    report::ShowText(gone ? L"Typed URLs Completely Erased." : L"Typed URLs could not be erased.");
    return gone;
}

void CTypedUrlVw::OnErase() {
    if (m_erasing) return;  // ERASE pressed again while the message box is up
    m_erasing = true;
    HWND self = m_hWnd;
    Erase();
    if (StillOwns(self)) m_erasing = false;
}
