#pragma once
#include "PageLook.h"
#include "ShellFolderTree.h"

// The shortcuts of the user's Recent folder. "Erase" deletes them.
class CRecentDocu : public CPageView {
public:
    CRecentDocu();
    void DoDataExchange(CDataExchange* pDX) override;

    static const wchar_t kNotErased[];

    CTreeCtrl m_tree;
    HIMAGELIST Images() const { return m_contents.Images(); }

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnErase();
    CShellFolderTree m_contents;
};

// The entries of the network neighbourhood, without the shell's fixed ones. "Erase" deletes the
// items of the network shortcuts folder.
class CRecentNWFVw : public CPageView {
public:
    CRecentNWFVw();
    void DoDataExchange(CDataExchange* pDX) override;

    static const wchar_t kNotErased[];

    // Lists the items (newest enumerated first) in the shell's order, leaving out the fixed names.
    void Fill(const std::list<ShellItem>& items);

    CListCtrl m_list;

    DECLARE_MESSAGE_MAP()

private:
    void Fill();
    void OnErase();
    CImageList m_images;
};
