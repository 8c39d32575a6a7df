// The progress of a wipe of unused space, one drive after the other on a worker: the drive, the
// bytes written of the free space it had at the start, the rate, the time left, and Cancel. The
// dialog runs the wipe from its first showing until the last drive is done or the wipe is
// cancelled, and ends itself then; the fillers are gone whenever it has ended.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "UnusedSpace.h"
#include "Inbox.h"
#include "Worker.h"
#include "afxwin.h"

namespace wipetext {
// "12.5 of 60.0 MB written", "0.59 of 0.98 GB written": both in the unit of the free space.
std::wstring Written(unsigned long long written, unsigned long long freeAtStart);
// "Rate: 41.2 MB/s"; "Rate: measuring..." before the first figure.
std::wstring Rate(double bytesPerSecond);
// "Time left: about 2 min 5 s"; "Time left: working it out..." while unknown.
std::wstring TimeLeft(double seconds);
// "8 s", "2 min 5 s", "1 h 12 min".
std::wstring Duration(double seconds);
}  // namespace wipetext

class CWipeProgressDlg : public CDialog {
public:
    explicit CWipeProgressDlg(std::vector<wchar_t> drives, CWnd* pParent = nullptr);
    ~CWipeProgressDlg() override;
    BOOL OnInitDialog() override;
    void OnOK() override {}  // Enter does not end a wipe
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The page that opened the dialog is going: the wipe is stopped, its fillers removed, and the
    // dialog ended. Returns once the worker has ended.
    void Abandon();

    bool Cancelled() const { return m_cancel->Requested(); }
    // One result per drive whose wipe began, in order; a failure of the worker itself, if any.
    const std::vector<engine::WipeResult>& Results() const { return m_results; }
    const std::wstring& Failure() const { return m_failure; }
    const std::vector<wchar_t>& Drives() const { return m_drives; }

    DECLARE_MESSAGE_MAP()

private:
    void Start();
    void ShowDrive(size_t index);
    void ShowStatus(const engine::WipeStatus& status);
    void Finish();
    void StopAndCollect();

    std::vector<wchar_t> m_drives;
    std::shared_ptr<engine::StopToken> m_cancel = std::make_shared<engine::StopToken>();
    std::shared_ptr<ui::Inbox> m_inbox;
    engine::Worker m_worker;
    std::vector<engine::WipeResult> m_results;
    std::wstring m_failure;
    bool m_finished = false;
};
