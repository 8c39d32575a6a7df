#include "WipeProgressDlg.h"

#include <commctrl.h>

#include <chrono>
#include <cmath>

#include "Pacing.h"
#include "Report.h"
#include "resource.h"

namespace wipetext {

std::wstring Written(unsigned long long written, unsigned long long freeAtStart) {
    return engine::PartOfText(written, freeAtStart) + L" written";
}

std::wstring Rate(double bytesPerSecond) {
    if (bytesPerSecond < 1) return L"Rate: measuring...";
    return L"Rate: " + engine::SizeText(static_cast<unsigned long long>(bytesPerSecond)) + L"/s";
}

std::wstring Duration(double seconds) {
    const unsigned long long s = static_cast<unsigned long long>(std::llround(std::max(0.0, seconds)));
    if (s < 60) return std::to_wstring(s) + L" s";
    if (s < 3600) return std::to_wstring(s / 60) + L" min " + std::to_wstring(s % 60) + L" s";
    return std::to_wstring(s / 3600) + L" h " + std::to_wstring(s % 3600 / 60) + L" min";
}

std::wstring TimeLeft(double seconds) {
    if (seconds <= 0) return L"Time left: working it out...";
    return L"Time left: about " + Duration(seconds);
}

}  // namespace wipetext

const MsgMap CWipeProgressDlg::messageMap{&CDialog::messageMap, {}};

CWipeProgressDlg::CWipeProgressDlg(std::vector<wchar_t> drives, CWnd* pParent)
    : CDialog(IDD_WIPE_PROGRESS, pParent), m_drives(std::move(drives)) {}

CWipeProgressDlg::~CWipeProgressDlg() { StopAndCollect(); }

BOOL CWipeProgressDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SendDlgItemMessageW(m_hWnd, IDC_WIPE_BAR, PBM_SETRANGE32, 0, 1000);
    m_inbox = std::make_shared<ui::Inbox>();
    Start();
    return TRUE;
}

// The worker wipes each drive in turn and hands everything it has to tell to the dialog through
// the inbox: the drive it starts, its progress (a few times a second), its result, the end.
void CWipeProgressDlg::Start() {
    auto inbox = m_inbox;
    auto cancel = m_cancel;
    const std::vector<wchar_t> drives = m_drives;
    CWipeProgressDlg* self = this;  // reached only through the inbox, which closes with the dialog
    const std::chrono::milliseconds every(Pacing::WipeShowMs());
    auto job = [inbox, cancel, drives, self, every](const engine::StopToken&) {
        using Clock = std::chrono::steady_clock;
        for (size_t i = 0; i < drives.size() && !cancel->Requested(); ++i) {
            inbox->Post([self, i] { self->ShowDrive(i); });
            Clock::time_point shown{};
            auto progress = [&](const engine::WipeStatus& s) {
                const auto now = Clock::now();
                if (now - shown < every) return;
                shown = now;
                inbox->Post([self, s] { self->ShowStatus(s); });
            };
            engine::WipeResult r = engine::WipeUnusedSpace(drives[i], progress, *cancel);
            inbox->Post([self, r] { self->m_results.push_back(r); });
        }
        inbox->Post([self] { self->Finish(); });
    };
    auto failed = [inbox, self](const std::wstring& why) {
        inbox->Post([self, why] {
            self->m_failure = why;
            self->Finish();
        });
    };
    if (!m_worker.Start(job, failed)) {
        m_failure = L"the wipe could not be started";
        Finish();
    }
}

void CWipeProgressDlg::ShowDrive(size_t index) {
    const std::wstring drive(1, m_drives[index]);
    std::wstring text = L"Drive " + drive + L":";
    if (m_drives.size() > 1) text += L" (" + std::to_wstring(index + 1) + L" of " + std::to_wstring(m_drives.size()) + L")";
    SetDlgItemText(IDC_WIPE_DRIVE, text);
    ::SendDlgItemMessageW(m_hWnd, IDC_WIPE_BAR, PBM_SETPOS, 0, 0);
    SetDlgItemText(IDC_WIPE_WRITTEN, L"Starting...");
    SetDlgItemText(IDC_WIPE_RATE, wipetext::Rate(0));
    SetDlgItemText(IDC_WIPE_LEFT, wipetext::TimeLeft(0));
    if (!Cancelled()) SetDlgItemText(IDC_WIPE_STATE, L"Filling the unused space with pseudo-random data.");
}

void CWipeProgressDlg::ShowStatus(const engine::WipeStatus& s) {
    const double part = s.freeAtStart ? std::min(1.0, static_cast<double>(s.written) / s.freeAtStart) : 0;
    ::SendDlgItemMessageW(m_hWnd, IDC_WIPE_BAR, PBM_SETPOS, static_cast<WPARAM>(part * 1000), 0);
    SetDlgItemText(IDC_WIPE_WRITTEN, wipetext::Written(s.written, s.freeAtStart));
    SetDlgItemText(IDC_WIPE_RATE, wipetext::Rate(s.bytesPerSecond));
    SetDlgItemText(IDC_WIPE_LEFT, wipetext::TimeLeft(s.secondsLeft));
}

void CWipeProgressDlg::Finish() {
    m_finished = true;
    EndDialog(Cancelled() ? IDCANCEL : IDOK);
}

void CWipeProgressDlg::OnCancel() {
    if (m_finished) {
        EndDialog(IDCANCEL);
        return;
    }
    // The wipe ends at its next block and removes its filler; the dialog ends when it has.
    m_cancel->Request();
    SetDlgItemText(IDC_WIPE_STATE, L"Cancelling: the filler is being removed...");
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
}

void CWipeProgressDlg::StopAndCollect() {
    m_cancel->Request();
    m_worker.Stop();
    if (!m_inbox) return;
    m_inbox->Drain();  // the results of the drives it did
    m_inbox->Close();
}

void CWipeProgressDlg::Abandon() {
    StopAndCollect();
    EndDialog(IDCANCEL);
}

LRESULT CWipeProgressDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ENDSESSION:  // the system may end the process when this returns: no filler stays
        if (wParam) StopAndCollect();
        return 0;
    case WM_DESTROY:
        StopAndCollect();
        break;
    default:
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}
