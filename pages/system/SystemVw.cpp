#include "SystemVw.h"

#include <map>

#include "Categories.h"
#include "LogoffDlg.h"
#include "Settings.h"
#include "TraceCategories.h"
#include "PageMessage.h"
#include "resource.h"


const MsgMap CSystemVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_SYSREG_ERASE, &CSystemVw::OnErase),
}};

CSystemVw::CSystemVw() : CPageView(IDD_SYSREG, look::ListLook(IDC_SYSREG_TITLE, IDC_SYSREG_TEXT), L"System Registry Traces") {}

void CSystemVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SYSREG_TREE, m_tree);
    if (!pDX->m_bSaveAndValidate) Fill();
}

// The definition's traces under their headings, between the two headings that have no traces.
void CSystemVw::Fill() {
    m_tree.DeleteAllItems();
    HTREEITEM root = m_tree.InsertItem(L"Most Recent Used Files List");
    m_tree.InsertItem(L"Attached Printer List", root);
    if (const engine::TraceDef* def = engine::FindTraceDefinition(engine::keys::kRegistryTraces)) {
        std::vector<engine::TraceEntry> entries = engine::ReadTraces(*def);
        std::map<std::wstring, HTREEITEM> nodes;
        for (size_t i = 0; i < def->sources.size(); ++i) {
            HTREEITEM& node = nodes[def->sources[i].heading];
            if (!node) node = m_tree.InsertItem(def->sources[i].heading, root);
            for (const engine::TraceEntry& e : entries)
                if (e.source == i) m_tree.InsertItem(e.text, node);
        }
    }
    m_tree.InsertItem(L"Stream List", root);
    m_tree.Expand(root, TVE_EXPAND);
}

void CSystemVw::OnErase() {
    engine::Result result = engine::RunErase(engine::CategoryOf(engine::keys::kRegistryTraces), settings::EraseOptions());
    // Filled again from the registry: a child whose value stayed stays, whatever the tree showed.
    Fill();
    if (!result.Complete()) ShowPageMessage(L"Some registry traces could not be erased.");
    OfferLogOff();
}

void CSystemVw::OfferLogOff() {
    CLogoffDlg prompt;
    prompt.DoModal();
}
