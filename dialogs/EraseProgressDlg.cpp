#include "EraseProgressDlg.h"

#include "resource.h"

namespace {
std::atomic<CEraseProgressDlg*> g_current{nullptr};
}  // namespace

const MsgMap CEraseProgressDlg::messageMap{&CDialog::messageMap, {
    msg::Command(IDC_PROGRESS_CANCEL, &CEraseProgressDlg::OnCancel),
}};

CEraseProgressDlg::CEraseProgressDlg() : CDialog(IDD_ERASE_PROGRESS, nullptr) {}

CEraseProgressDlg* CEraseProgressDlg::Current() { return g_current.load(); }

void CEraseProgressDlg::Reset() {
    m_bCancelled = false;
    m_bEndRequested = false;
}

void CEraseProgressDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS_PATH, m_path);
    DDX_Control(pDX, IDC_PROGRESS_ANIMATION, m_picture);
}

BOOL CEraseProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_picture.Load(MAKEINTRESOURCEW(312), L"GIF")) m_picture.Draw();
    g_current = this;
    m_bCancelled = false;
    {
        std::lock_guard<std::mutex> lock(m_inboxLock);
        m_inbox = std::make_shared<ui::Inbox>();
    }
    // A walk that finished before the dialog appeared still closes it.
    if (m_bEndRequested) RequestEnd(m_endResult);
    return TRUE;
}

void CEraseProgressDlg::OnCancel() {
    m_bCancelled = true;
    CDialog::OnCancel();
}

void CEraseProgressDlg::Hand(std::function<void()> call) {
    std::shared_ptr<ui::Inbox> inbox;
    {
        std::lock_guard<std::mutex> lock(m_inboxLock);
        inbox = m_inbox;
    }
    if (inbox) inbox->Post(std::move(call));
}

void CEraseProgressDlg::ShowPath(const std::wstring& path) {
    Hand([this, path] { m_path.SetWindowText(path); });
}

void CEraseProgressDlg::RequestEnd(int result) {
    m_endResult = result;
    m_bEndRequested = true;
    Hand([this, result] { EndDialog(result); });
}

LRESULT CEraseProgressDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        {
            std::lock_guard<std::mutex> lock(m_inboxLock);
            if (m_inbox) m_inbox->Close();  // what the walk still hands over is dropped
            m_inbox.reset();
        }
        CEraseProgressDlg* self = this;
        g_current.compare_exchange_strong(self, nullptr);
        m_picture.Stop();
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
