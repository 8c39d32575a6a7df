// The modal progress dialog of the erasing pages: an animation, the path being erased, Cancel.
// Each erasing page keeps one for the life of the process; its erase worker talks to it only
// through the dialog's inbox, open while the dialog is shown.
#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "AnimatedPicture.h"
#include "Inbox.h"

class CEraseProgressDlg : public CDialog {
public:
    CEraseProgressDlg();
    BOOL OnInitDialog() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Before each run: not cancelled, no end requested.
    void Reset();
    bool IsCancelled() const { return m_bCancelled.load(); }
    // From the worker: show a path; end the dialog (also when it has not appeared yet).
    void ShowPath(const std::wstring& path);
    void RequestEnd(int result = 0);
    bool EndRequested() const { return m_bEndRequested.load(); }

    // The progress dialog shown at the moment, or null.
    static CEraseProgressDlg* Current();

    CStatic m_path;
    CAnimatedPicture m_picture;

    DECLARE_MESSAGE_MAP()

private:
    // Any thread: runs call on the dialog's thread while the dialog is shown; dropped otherwise.
    void Hand(std::function<void()> call);

    std::atomic<bool> m_bCancelled{false};
    std::atomic<bool> m_bEndRequested{false};
    std::atomic<int> m_endResult{0};
    std::mutex m_inboxLock;
    std::shared_ptr<ui::Inbox> m_inbox;
};
