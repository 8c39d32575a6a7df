#include "SummaryErase.h"

#include <algorithm>
#include <chrono>
#include <mutex>

#include "EraseReport.h"

const wchar_t CErasingSummaryView::kNothingChecked[] = L"Check the categories to erase first.";

namespace {
constexpr UINT WM_SUMMARY_ERASED = WM_APP + 0x140;  // the worker has run every step

struct Step {
    std::wstring name;
    EraseResult (*erase)();
    void (*afterReport)();
};

// Two summary pages never erase at the same time: the second waits for the first.
std::mutex& OneRunAtATime() {
    static auto* lock = new std::mutex;  // never destroyed: a worker let go may still hold it at exit
    return *lock;
}
}  // namespace

// What the page and its worker share. The worker writes the outcomes and then posts; the page
// reads them only after that message, and never when it was closed first.
struct CErasingSummaryView::Run {
    std::vector<Step> steps;
    std::vector<CategoryOutcome> outcomes;
};

namespace {
struct EraseTask {
    HWND view;
    std::shared_ptr<CErasingSummaryView::Run> run;
    std::shared_ptr<filewalk::WalkThread::Request> stop;
};

UINT EraseThread(LPVOID param) {
    std::unique_ptr<EraseTask> task(static_cast<EraseTask*>(param));
    HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the shell's folders and bin
    {
        std::lock_guard<std::mutex> one(OneRunAtATime());
        for (const Step& s : task->run->steps) {
            if (task->stop->Wait(0)) break;  // the page was closed: the rest is not run
            auto start = std::chrono::steady_clock::now();
            EraseResult r = s.erase();
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
            task->run->outcomes.push_back({s.name, r, static_cast<unsigned long long>(ms.count())});
        }
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    if (!task->stop->Wait(0)) ::PostMessageW(task->view, WM_SUMMARY_ERASED, 0, 0);
    return 0;
}
}  // namespace

const MsgMap CErasingSummaryView::messageMap{&CSummaryView::messageMap, {
    msg::Message(WM_SUMMARY_ERASED, &CErasingSummaryView::OnErased),
}};

CErasingSummaryView::CErasingSummaryView(const SummaryFace& face) : CSummaryView(face) {}

void CErasingSummaryView::DoDataExchange(CDataExchange* pDX) {
    CSummaryView::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) EnableButtons(true);  // a row without an erase keeps its button disabled
}

BOOL CErasingSummaryView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (nCode == CN_COMMAND) {
        if (nID == static_cast<UINT>(m_face.eraseAllId)) {
            if (!pHandlerInfo) OnEraseNow();
            return TRUE;
        }
        for (const SummaryRow& r : m_face.rows)
            if (r.erase && nID == static_cast<UINT>(r.eraseId)) {
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
        if (r.erase && IsChecked(r)) checked.push_back(&r);
    if (checked.empty()) {
        ::MessageBoxW(nullptr, kNothingChecked, L"Corvane-Sweepmere", MB_ICONINFORMATION | MB_SYSTEMMODAL);
        return;
    }
    StartErase(checked);
}

void CErasingSummaryView::OnEraseRow(const SummaryRow& row) {
    if (!m_erasing) StartErase({&row});
}

void CErasingSummaryView::StartErase(const std::vector<const SummaryRow*>& rows) {
    m_run = std::make_shared<Run>();
    for (const SummaryRow* r : rows) {
        wchar_t heading[128] = L"";
        ::GetDlgItemTextW(m_hWnd, r->headingId, heading, ARRAYSIZE(heading));
        m_run->steps.push_back({heading, r->erase, r->afterReport});
    }
    auto* task = new EraseTask{m_hWnd, m_run, m_worker.Shared()};
    m_erasing = true;
    EnableButtons(false);
    if (m_worker.Start(EraseThread, task)) return;
    delete task;
    m_erasing = false;
    EnableButtons(true);
    ::MessageBoxW(nullptr, L"The erase could not be started.", L"Corvane-Sweepmere", MB_ICONWARNING | MB_SYSTEMMODAL);
}

LRESULT CErasingSummaryView::OnErased(WPARAM, LPARAM) {
    if (!m_run) return 0;
    m_worker.Stop();  // it has posted its last word: this only waits for it to end
    std::shared_ptr<Run> run = std::move(m_run);
    bool stayed = false;
    for (const CategoryOutcome& o : run->outcomes) stayed = stayed || !o.result.Complete();
    std::vector<void (*)()> after;
    for (const Step& s : run->steps)
        if (s.afterReport && std::find(after.begin(), after.end(), s.afterReport) == after.end()) after.push_back(s.afterReport);

    // The box has no owner, so the page can be closed under it: from here on only locals are
    // used until the page is known to be still there.
    HWND self = m_hWnd;
    ::MessageBoxW(nullptr, EraseReport(run->outcomes).c_str(), L"Corvane-Sweepmere",
                  (stayed ? MB_ICONWARNING : MB_ICONINFORMATION) | MB_SYSTEMMODAL);
    for (void (*f)() : after) f();
    if (!::IsWindow(self) || FromHandlePermanent(self) != this) return 0;
    m_erasing = false;
    EnableButtons(true);
    return 0;
}

void CErasingSummaryView::EnableButtons(bool enable) {
    auto set = [this](int id, bool on) { ::EnableWindow(::GetDlgItem(m_hWnd, id), on); };
    for (const SummaryRow& r : m_face.rows) {
        set(r.eraseId, enable && r.erase);
        set(r.detailsId, enable);
    }
    for (int id : {m_face.eraseAllId, m_face.selectAllId, m_face.clearAllId}) set(id, enable);
}

void CErasingSummaryView::OnDestroy() {
    // A worker busy with a category is let go: it ends after that one and posts nothing.
    m_worker.Stop(filewalk::kStopWaitMs);
    CSummaryView::OnDestroy();
}
