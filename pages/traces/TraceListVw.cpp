#include "TraceListVw.h"

#include "resource.h"

namespace {
const RecentFileListRow kTraces{IDD_TRACES, nullptr, IDC_TRACES_TITLE, IDC_TRACES_TEXT, IDC_TRACES_LIST,
                                IDC_TRACES_SELECTALL, IDC_TRACES_CLEARALL, IDC_TRACES_ERASE, ""};
}  // namespace

CTraceListVw::CTraceListVw() : CRecentFileListView(kTraces) {}

std::string CTraceListVw::Category() const {
    auto* t = GetDocument() ? dynamic_cast<CTraceTemplate*>(GetDocument()->GetDocTemplate()) : nullptr;
    return t ? t->Key() : std::string();
}

std::optional<std::wstring> CTraceListVw::Caption() const {
    const engine::TraceDef* def = engine::FindTraceDefinition(Category());
    return def ? std::optional<std::wstring>(def->name) : std::nullopt;
}

void CTraceListVw::OnInitialUpdate() {
    // The list shows whole paths: one column as wide as the list.
    if (const engine::TraceDef* def = engine::FindTraceDefinition(Category())) {
        ::SetDlgItemTextW(m_hWnd, IDC_TRACES_TITLE, def->name.c_str());
        ::SetDlgItemTextW(m_hWnd, IDC_TRACES_TEXT, def->text.c_str());
    }
    HWND list = ::GetDlgItem(m_hWnd, IDC_TRACES_LIST);
    RECT box{};
    ::GetClientRect(list, &box);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = box.right - ::GetSystemMetrics(SM_CXVSCROLL);
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    CRecentFileListView::OnInitialUpdate();
}
