// The category tree of the utility pane: one node per trace category; a click on a node opens
// that category's page.
#pragma once
#include <string>
#include <vector>

#include "afxwin.h"

class CCategoryTree : public CTreeCtrl {
public:
    static constexpr int kImageCount = 35;
    // The image index of an icon resource (a page's template id); -1 for none of the tree's.
    static int ImageOf(UINT iconId);

    // Builds the node images and the nodes: "Internet" with its four categories, and every other
    // category too when the user's "All Categories" setting is on.
    void Initialise();
    // Builds the nodes anew: the Internet branch, and with all the System and Application Traces
    // branches and "Unused Space" with the present drives and "Wipe List". Roots are expanded.
    void ShowAllCategories(bool all);
    // The child of parent for a page's key (pages::Rows()): the one there already, or a new last
    // child with the page's text and image, the key kept in its data. Top pages go only under the
    // root and the others only under a node; a key of no page is not added (null).
    HTREEITEM AddNode(const std::string& key, HTREEITEM parent);
    // The page key a node holds; null for none.
    const char* KeyOf(HTREEITEM item) const;
    // What a click on a node does: select it, keep its text as the last chosen text and open a
    // new page of its key.
    void ChooseNode(HTREEITEM item);

    const CImageList& Images() const { return m_images; }

    // The click opens pages instead of the control's own handling; expanding stays with the
    // double click and the keyboard.
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;

private:
    void BuildImages();
    // Adds a root with its children, expands it and sorts the children by text.
    HTREEITEM AddBranch(const char* root, const std::vector<const char*>& children);
    HTREEITEM Insert(const std::wstring& text, int image, const char* key, HTREEITEM parent);
    CImageList m_images;
};
