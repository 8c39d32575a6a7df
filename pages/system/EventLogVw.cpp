#include "EventLogVw.h"

#include <memory>
#include <vector>

#include "Categories.h"
#include "ReportBox.h"
#include "Settings.h"
#include "resource.h"

namespace {
const wchar_t kNotCleared[] = L"The event log could not be cleared.";
constexpr size_t kBatch = 256;

using RowBatch = std::vector<engine::events::EventRow>;
const wchar_t* const kHeaders[] = {L"Event Type", L"Source",  L"Computer Name", L"Domain Name", L"User Name",
                                   L"SID Type",   L"Event ID", L"Submit Time",  L"Write Time"};
}  // namespace

// Room for the batches a listing may hand over before the page has shown them: the worker waits
// for room, so a long log neither floods the window's queue nor holds all its rows at once.
struct CEventLogVw::BatchRoom {
    static constexpr LONG kMostQueued = 8;
    HANDLE slots = ::CreateSemaphoreW(nullptr, kMostQueued, kMostQueued, nullptr);
    ~BatchRoom() { ::CloseHandle(slots); }
    // Waits for room; false when the listing must stop.
    bool Take(const engine::StopToken& stop) {
        while (::WaitForSingleObject(slots, 50) != WAIT_OBJECT_0)
            if (stop.Requested()) return false;
        return !stop.Requested();
    }
};

const MsgMap CEventLogVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_EVENTLOG_ERASE, &CEventLogVw::OnErase),
    msg::Notify(LVN_GETDISPINFOW, IDC_EVENTLOG_LIST, &CEventLogVw::OnRowText),
}};

CEventLogVw::CEventLogVw() : CPageView(IDD_EVENTLOG, look::ListLook(IDC_EVENTLOG_TITLE, IDC_EVENTLOG_TEXT), L"Event Log") {}

void CEventLogVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_EVENTLOG_LIST, m_list);
    if (pDX->m_bSaveAndValidate) return;
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES);
    for (int i = 0; i < 9; ++i) m_list.InsertColumn(i, kHeaders[i], LVCFMT_LEFT, 150);
    StartListing();
}

// The rows come over in batches; the list holds no texts of its own and asks for the rows it shows.
void CEventLogVw::StartListing() {
    StopListing();
    m_inbox = std::make_shared<ui::Inbox>();
    m_countDue = false;
    m_room = std::make_shared<BatchRoom>();
    auto inbox = m_inbox;
    auto room = m_room;
    m_listing.Start([this, inbox, room](const engine::StopToken& stop) {
        std::unique_ptr<engine::events::EventLogSource> log = engine::events::MakeSource();
        engine::events::RowMaker rows;
        auto batch = std::make_shared<RowBatch>();
        auto hand = [&]() {
            if (batch->empty()) return !stop.Requested();
            if (!room->Take(stop)) return false;
            inbox->Post([this, weak = std::weak_ptr<ui::Inbox>(inbox), batch, room] {
                ::ReleaseSemaphore(room->slots, 1, nullptr);
                for (auto& row : *batch) m_rows.push_back(std::move(row));
                // After the batches that wait now: they share one count, as the list takes its
                // time over each new count.
                if (m_countDue) return;
                m_countDue = true;
                if (auto open = weak.lock()) open->Post([this] { ShowCount(); });
            });
            batch = std::make_shared<RowBatch>();
            return true;
        };
        engine::events::ReadEnd end = engine::events::ReadLog(*log, [&](const engine::events::EventRecord& r) {
            batch->push_back(rows.Row(r));
            return batch->size() < kBatch || hand();
        });
        if (end != engine::events::ReadEnd::Stopped) hand();
    });
}

void CEventLogVw::StopListing() {
    if (m_inbox) m_inbox->Close();  // the old listing's rows never land in the list
    m_listing.Stop(100);            // the worker holds nothing of the page but the closed inbox
}

void CEventLogVw::OnDestroy() {
    StopListing();  // before the list goes
    CPageView::OnDestroy();
}

void CEventLogVw::ShowCount() {
    m_countDue = false;
    if (m_list.GetSafeHwnd() && static_cast<size_t>(m_list.GetItemCount()) != m_rows.size())
        m_list.SendMessage(LVM_SETITEMCOUNT, m_rows.size(), LVSICF_NOSCROLL);
}

void CEventLogVw::OnRowText(NMHDR* pNMHDR, LRESULT*) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(pNMHDR)->item;
    if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0) return;
    size_t row = static_cast<size_t>(item.iItem), col = static_cast<size_t>(item.iSubItem);
    const wchar_t* text = row < m_rows.size() && col < m_rows[row].size() ? m_rows[row][col].c_str() : L"";
    ::lstrcpynW(item.pszText, text, item.cchTextMax);
}

void CEventLogVw::OnErase() {
    if (m_erasing) return;
    m_erasing = true;
    // The old listing's rows must not land in the list the erase empties.
    StopListing();
    m_list.DeleteAllItems();
    m_rows.clear();
    engine::Result result = engine::RunErase(engine::CategoryOf(engine::keys::kEventLog), settings::EraseOptions());
    StartListing();
    if (!result.Complete()) {
        HWND self = m_hWnd;
        report::ShowText(kNotCleared, true);
        // The page may have been closed while the box was up.
        if (!StillOwns(self)) return;
    }
    m_erasing = false;
}
