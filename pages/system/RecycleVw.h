#pragma once
#include "EraseResult.h"
#include "PageLook.h"
#include "ShellFolderTree.h"

// What the Recycle Bin holds. "Clean" empties it.
class CRecycleVw : public CPageView {
public:
    CRecycleVw();
    void DoDataExchange(CDataExchange* pDX) override;

    // Empties the bin without confirmation, sound or the shell's own progress window.
    static EraseResult EraseWithoutWindow();
    static const wchar_t kNotEmptied[];

    CTreeCtrl m_tree;
    HIMAGELIST Images() const { return m_contents.Images(); }

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnClean();
    CShellFolderTree m_contents;
};
