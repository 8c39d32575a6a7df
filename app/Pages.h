// Every page the program opens, each one row: a category's page is named by the engine's key
// for it (its tree text is the category's name), the program's own pages (the summaries,
// the drives, unused space, the wipe list) carry their own. The templates, the tree and the
// summaries' links are built from these rows.
#pragma once
#include <string>
#include <vector>

#include "afxwin.h"

namespace pages {

// Keys of the program's own pages.
constexpr const char kInternet[] = "page.internet";
constexpr const char kSystem[] = "page.system";
constexpr const char kApplications[] = "page.apps";
constexpr const char kUnusedSpace[] = "page.unused-space";
constexpr const char kDrives[] = "page.drives";
constexpr const char kWipeList[] = "page.wipe-list";
constexpr const char kBrowsers[] = "page.browsers";

struct PageRow {
    const char* key;     // the engine's category key, or one of the keys above
    UINT resourceId;     // the template's resources; its icon is the page's image in the tree
    const CRuntimeClass* doc;
    const CRuntimeClass* frame;
    const CRuntimeClass* view;
    const wchar_t* text = nullptr;  // the tree's text of a page of the program's own
    bool top = false;               // a root of the tree
    UINT icon = 0;                  // the tree's icon when it is not the template's
};

// In the order the templates are registered, after the introduction page's.
const std::vector<PageRow>& Rows();
const PageRow* Find(const std::string& key);
// The tree's text and icon resource of a row.
std::wstring TextOf(const PageRow& row);
inline UINT IconOf(const PageRow& row) { return row.icon ? row.icon : row.resourceId; }

}  // namespace pages
