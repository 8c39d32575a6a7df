#include "SummaryErase.h"

#include <algorithm>

#include "Categories.h"
#include "Policy.h"
#include "ReportBox.h"
#include "Settings.h"

const wchar_t CErasingSummaryView::kNothingChecked[] = L"Check the categories to erase first.";

CErasingSummaryView::CErasingSummaryView(const SummaryFace& face) : CSummaryView(face) {}

void CErasingSummaryView::DoDataExchange(CDataExchange* pDX) {
    CSummaryView::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) {
        m_inbox = std::make_shared<ui::Inbox>();
        EnableButtons(true);  // a row without an erase keeps its button disabled
    }
}

bool CErasingSummaryView::CanErase(const SummaryRow& row) const {
    const engine::Category* c = engine::FindCategory(row.key);
    return c && c->erase && !engine::TurnedOff(*c);
}

BOOL CErasingSummaryView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nCode == CN_COMMAND) {
        if (nID == static_cast<UINT>(m_face.eraseAllId)) {
            if (!pHandlerInfo) OnEraseNow();
            return TRUE;
        }
        for (const SummaryRow& r : m_face.rows)
            if (nID == static_cast<UINT>(r.eraseId) && CanErase(r)) {
                if (!pHandlerInfo) OnEraseRow(r);
                return TRUE;
            }
    }
    return CSummaryView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CErasingSummaryView::OnEraseNow() {
    if (m_erasing) return;
    std::vector<const SummaryRow*> checked;
    for (const SummaryRow& r : m_face.rows)
        if (CanErase(r) && IsChecked(r)) checked.push_back(&r);
    if (checked.empty()) {
        report::ShowText(kNothingChecked);
        return;
    }
    std::stable_sort(checked.begin(), checked.end(), [](const SummaryRow* a, const SummaryRow* b) { return a->order < b->order; });
    StartErase(checked);
}

void CErasingSummaryView::OnEraseRow(const SummaryRow& row) {
    if (!m_erasing) StartErase({&row});
}

void CErasingSummaryView::StartErase(std::vector<const SummaryRow*> rows) {
    std::vector<const engine::Category*> categories;
    for (const SummaryRow* r : rows) categories.push_back(&engine::CategoryOf(r->key));
    engine::Options options = settings::EraseOptions();
    std::shared_ptr<ui::Inbox> inbox = m_inbox;
    m_erasing = true;
    EnableButtons(false);
    // The worker touches no control: it erases and hands the outcomes over through the inbox,
    // which the page closes when it goes; a page closed meanwhile stops it before the next category.
    bool started = m_worker.Start(
        [=](const engine::StopToken& stop) {
            engine::Options o = options;
            o.stop = &stop;
            std::vector<engine::Outcome> outcomes = engine::EraseCategories(categories, o);
            inbox->Post([this, outcomes, rows] { Erased(outcomes, rows); });
        },
        [=](const std::wstring& why) {
            engine::Outcome failed{L"Erase", {}, 0};
            failed.result.Failed(why);
            inbox->Post([this, failed, rows] { Erased({failed}, rows); });
        });
    if (started) return;
    m_erasing = false;
    EnableButtons(true);
    report::ShowText(L"The erase could not be started.", true);
}

void CErasingSummaryView::Erased(const std::vector<engine::Outcome>& outcomes, const std::vector<const SummaryRow*>& rows) {
    m_worker.Join();  // it has handed over its last word: this only waits for it to end
    std::vector<void (*)()> after;
    for (const SummaryRow* r : rows)
        if (r->afterReport && std::find(after.begin(), after.end(), r->afterReport) == after.end()) after.push_back(r->afterReport);
    if (!report::ShowPageReport(*this, outcomes, [after] { for (void (*f)() : after) f(); })) return;
    m_erasing = false;
    EnableButtons(true);
}

void CErasingSummaryView::EnableButtons(bool enable) {
    auto set = [this](int id, bool on) { ::EnableWindow(::GetDlgItem(m_hWnd, id), on); };
    for (const SummaryRow& r : m_face.rows) {
        set(r.eraseId, enable && CanErase(r));
        set(r.detailsId, enable);
    }
    for (int id : {m_face.eraseAllId, m_face.selectAllId, m_face.clearAllId}) set(id, enable);
}

void CErasingSummaryView::OnDestroy() {
    // A worker busy with a category is let go: it ends after that one and hands over nothing.
    if (m_inbox) m_inbox->Close();
    m_worker.Stop(100);
    CSummaryView::OnDestroy();
}
