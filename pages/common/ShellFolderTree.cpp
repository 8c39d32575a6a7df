#include "ShellFolderTree.h"
#include "afxdpi.h"

namespace {
// A 16 x 16 icon that draws nothing: its mask leaves every pixel as it was.
HICON BlankIcon() {
    BYTE andMask[16 * 16 / 8];
    BYTE xorMask[16 * 16 / 8] = {};
    memset(andMask, 0xFF, sizeof andMask);
    return ::CreateIcon(nullptr, 16, 16, 1, 1, andMask, xorMask);
}
}  // namespace

void CShellFolderTree::Fill(CTreeCtrl& tree, const std::wstring& rootLabel, const std::list<ShellItem>& items) {
    tree.SetImageList(nullptr, TVSIL_NORMAL);  // the old list goes below
    m_images.Create(AfxScaled(16), AfxScaled(16), ILC_COLOR32 | ILC_MASK, 6, 4);
    HICON blank = BlankIcon();
    m_images.Add(blank);  // kBlankImage
    ::DestroyIcon(blank);
    tree.SetImageList(m_images, TVSIL_NORMAL);
    tree.DeleteAllItems();
    // Inserted with text only, the root shows image 0: the blank, never an item's icon.
    HTREEITEM root = tree.InsertItem(rootLabel, TVI_ROOT, TVI_LAST);
    for (const ShellItem& item : items) {
        int image = item.SmallIcon ? m_images.Add(item.SmallIcon) : -1;
        if (image < 0) image = kBlankImage;  // -1 would make the tree ask back for an image
        tree.InsertItem(item.Name, image, image, root, TVI_SORT);
    }
    tree.Expand(root, TVE_EXPAND);
}
