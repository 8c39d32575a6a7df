// The category tree of the utility pane: one node per trace category; a click on a node opens
// that category's page.
#pragma once
#include <string>
#include <vector>

#include "afxwin.h"

class CCategoryTree : public CTreeCtrl {
public:
    static constexpr int kImageCount = 35;

    // Builds the node images and the nodes: "Internet" with its four categories, and every other
    // category too when the user's "All Categories" setting is on.
    void Initialise();
    // Builds the nodes anew: the Internet branch, and with all the System and Application Traces
    // branches and "Unused Space" with the present drives and "Wipe List". Roots are expanded.
    void ShowAllCategories(bool all);
    // The child of parent with this text: the one there already, or a new last child with the
    // category's image. Texts of top categories go only under the root and the others only under
    // a node; a text no category has is not added (null).
    HTREEITEM AddNode(const std::wstring& text, HTREEITEM parent);
    // What a click on a node does: select it, keep its text as the last chosen text and open a
    // new page of its category.
    void ChooseNode(HTREEITEM item);
    // Opens a new page for a node text; false when the text names no category and no drive.
    static bool OpenCategory(const std::wstring& text);

    const CImageList& Images() const { return m_images; }

    // The click opens pages instead of the control's own handling; expanding stays with the
    // double click and the keyboard.
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    void OnRButtonDown(UINT nFlags, CPoint point) override;

private:
    void BuildImages();
    // Adds a root with its children, expands it and sorts the children by text.
    void AddBranch(const std::wstring& root, const std::vector<std::wstring>& children);
    CImageList m_images;
};
