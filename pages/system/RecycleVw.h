#pragma once
#include "PageLook.h"
#include "PageWalk.h"
#include "ShellFolderTree.h"

// What the Recycle Bin holds. "Clean" empties it on a worker (a large bin takes a while) and
// shows what is left.
class CRecycleVw : public CPageView {
public:
    CRecycleVw();
    void DoDataExchange(CDataExchange* pDX) override;
    void OnDestroy() override;

    static const wchar_t kNotEmptied[];

    CTreeCtrl m_tree;
    HIMAGELIST Images() const { return m_contents.Images(); }
    bool Cleaning() const { return m_work.Running(); }

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnClean();
    CShellFolderTree m_contents;
    CPageWalk m_work;
    bool m_cleaning = false;
};
