#include "PageWalk.h"

#include "Categories.h"
#include "EraseProgressDlg.h"
#include "Pacing.h"
#include "Settings.h"
#include "Walk.h"

namespace {
std::wstring NameOf(const std::wstring& rel) {
    size_t slash = rel.find_last_of(L'\\');
    return slash == std::wstring::npos ? rel : rel.substr(slash + 1);
}

// Hands the names met to the page in batches (one post per batch, not per row), shows the file
// being erased (at most one path per 50 ms when nothing waits between files), and stops the walk
// at a pause once the page stopped it or Cancel was pressed.
class PageSink : public engine::WalkSink {
public:
    PageSink(std::shared_ptr<ui::Inbox> inbox, const CPageWalk::Rows& rows, bool erase, const engine::StopToken& stop,
             CEraseProgressDlg* dialog = nullptr, bool paced = true, HWND view = nullptr)
        : m_inbox(std::move(inbox)), m_rows(rows), m_erase(erase), m_stop(stop), m_dialog(dialog), m_paced(paced),
          m_view(view) {}
    ~PageSink() override { Flush(); }

    bool Stopping() const { return m_stop.Requested() || (m_dialog && m_dialog->IsCancelled()); }
    bool Pause(unsigned ms) override {
        if (Stopping()) return true;
        if (ms) Flush();
        return m_stop.Wait(m_paced ? ms : 0) || Stopping();
    }
    void Met(const std::wstring& rel, bool folder, unsigned long long) override {
        if (folder ? m_rows.folders : !m_erase) Add(NameOf(rel), folder);
    }
    void Stayed(const std::wstring& rel) override { Add(NameOf(rel), false); }
    void Erasing(const std::wstring& path) override {
        if (!m_dialog) return;
        ULONGLONG now = ::GetTickCount64();
        if (Pacing::FileMs() == 0 && now - m_shownAt < 50) return;
        m_shownAt = now;
        m_dialog->ShowPath(path);
    }
    void Flush() {
        if ((m_pending.empty() && m_hidden == m_hiddenShown) || !m_rows.show) return;
        auto batch = std::make_shared<CPageWalk::Names>(std::move(m_pending));
        m_pending.clear();
        auto show = m_rows.show;
        HWND view = m_view;
        int id = m_rows.hiddenText;
        size_t hidden = m_hiddenShown = m_hidden;
        m_inbox->Post([show, batch, view, id, hidden] {
            show(*batch);
            if (id) ::SetDlgItemTextW(view, id, CPageWalk::HiddenText(hidden).c_str());
        });
    }

private:
    // A batch goes to the page once it is big enough and the last went a while ago: each one
    // makes the list repaint, and painting tens of times a second slows the walk beside it.
    static constexpr size_t kBatch = 256;
    static constexpr ULONGLONG kBatchMs = 250;
    // The filter hides files only: every sub-folder a page lists is shown.
    void Add(std::wstring name, bool folder) {
        if (!m_rows.show || (!folder && !m_rows.listed)) return;
        if (!folder && !m_rows.listed(name)) {
            ++m_hidden;
            return;
        }
        m_pending.push_back(std::move(name));
        if (m_pending.size() < kBatch) return;
        ULONGLONG now = ::GetTickCount64();
        if (now - m_flushedAt < kBatchMs) return;
        m_flushedAt = now;
        Flush();
    }
    std::shared_ptr<ui::Inbox> m_inbox;
    CPageWalk::Rows m_rows;
    bool m_erase;
    const engine::StopToken& m_stop;
    CEraseProgressDlg* m_dialog;
    bool m_paced;
    HWND m_view;
    CPageWalk::Names m_pending;
    size_t m_hidden = 0, m_hiddenShown = 0;  // files kept out of view: met, and told to the page
    ULONGLONG m_shownAt = 0;
    ULONGLONG m_flushedAt = 0;
};

engine::Options PagedOptions(const engine::StopToken& stop, engine::WalkSink& sink) {
    engine::Options o = settings::EraseOptions();
    o.stop = &stop;
    o.sink = &sink;
    o.folderMs = Pacing::FolderMs();
    o.fileMs = Pacing::FileMs();
    return o;
}

engine::Result Failure(const std::wstring& why) {
    engine::Result r;
    r.Failed(why);
    return r;
}
}  // namespace

std::wstring CPageWalk::HiddenText(size_t n) {
    if (n == 0) return {};
    const wchar_t* what = L" ending in \"ini\" or \"dat\" (desktop.ini, index.dat \u2026) ";
    if (n == 1) return std::wstring(L"1 file") + what + L"is not listed; Erase treats it like the rest.";
    return std::to_wstring(n) + L" files" + what + L"are not listed; Erase treats them like the rest.";
}

void CPageWalk::ShowHidden(size_t n) const {
    if (m_hiddenText) ::SetDlgItemTextW(m_view, m_hiddenText, HiddenText(n).c_str());
}

void CPageWalk::Attach(HWND view) {
    m_view = view;
    m_inbox = std::make_shared<ui::Inbox>();
}

void CPageWalk::Stop() {
    m_worker.Stop(100);
    if (m_inbox) m_inbox->Close();
}

// A new inbox for the next walk: what the last one handed over and the page has not shown yet
// goes with the old one.
void CPageWalk::Restart() {
    Stop();
    if (m_view) m_inbox = std::make_shared<ui::Inbox>();
}

void CPageWalk::List(const std::wstring& folder, const Rows& rows, bool paced) {
    Restart();
    m_hiddenText = rows.hiddenText;
    ShowHidden(0);
    auto inbox = m_inbox;
    HWND view = m_view;
    m_worker.Start([=](const engine::StopToken& stop) {
        PageSink sink(inbox, rows, false, stop, nullptr, paced, view);
        engine::Options o;
        o.stop = &stop;
        o.folderMs = Pacing::FolderMs();
        engine::ListFolder(folder, o, &sink);
    });
}

void CPageWalk::Erase(const char* category, const Rows& rows, std::function<void(const engine::Result&)> done) {
    Restart();
    m_hiddenText = rows.hiddenText;
    ShowHidden(0);
    auto inbox = m_inbox;
    HWND view = m_view;
    const engine::Category* c = engine::FindCategory(category);
    m_worker.Start(
        [=](const engine::StopToken& stop) {
            engine::Result r;
            {
                PageSink sink(inbox, rows, true, stop, nullptr, false, view);
                engine::Options o = PagedOptions(stop, sink);
                o.folderMs = o.fileMs = 0;
                r = engine::RunErase(*c, o);
            }
            inbox->Post([done, r] { done(r); });
        },
        [=](const std::wstring& why) { inbox->Post([done, why] { done(Failure(why)); }); });
}

engine::Result CPageWalk::EraseBehindDialog(const char* category, CEraseProgressDlg& dialog, std::function<void()> ended,
                                            bool* ran) {
    if (ran) *ran = false;
    if (dialog.GetSafeHwnd()) return {};  // this page's erase already runs
    if (ran) *ran = true;
    Restart();  // a listing still running would fill the list the erase empties
    dialog.Reset();
    auto inbox = m_inbox;
    auto result = std::make_shared<engine::Result>();
    const engine::Category* c = engine::FindCategory(category);
    engine::Worker worker;  // never outlives the dialog
    bool started = worker.Start(
        [=, &dialog](const engine::StopToken& stop) {
            {
                PageSink sink(inbox, {}, true, stop, &dialog);
                if (sink.Pause(Pacing::BeforeEraseMs()))
                    result->Failed(L"The erase was cancelled.");
                else
                    *result = engine::RunErase(*c, PagedOptions(stop, sink));
                if (!sink.Stopping()) inbox->Post([this, ended] {
                    ShowHidden(0);
                    if (ended) ended();
                });
            }
            dialog.RequestEnd(0);
        },
        [=, &dialog](const std::wstring& why) {
            result->Failed(why);
            dialog.RequestEnd(0);
        });
    if (!started) return Failure(L"The erase could not be started.");
    dialog.DoModal();
    worker.Join();  // after Cancel the walk ends at its next file
    return *result;
}
