// The tree of a shell folder's items (Recycle Bin, Recent Documents): one root with a child per
// item, each with the item's small icon, children in alphabetical order, the root expanded.
#pragma once
#include <list>

#include "ShellReader.h"

class CShellFolderTree {
public:
    // The image every item without an icon of its own shows, and the root too: a blank.
    static constexpr int kBlankImage = 0;

    // Replaces the tree's items and image list with the items under a root of that label.
    void Fill(CTreeCtrl& tree, const std::wstring& rootLabel, const std::list<ShellItem>& items);
    HIMAGELIST Images() const { return m_images.GetSafeHandle(); }

private:
    CImageList m_images;  // the view's, freed with it
};
