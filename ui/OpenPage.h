// Opening a page by its key, for the pages' own links. Only the application knows the page
// table, so it hands in the way to open one when it starts.
#pragma once
#include <functional>
#include <string>

namespace ui {
void SetPageOpener(std::function<void(const std::string&)> open);
// Does nothing before the application set the opener.
void OpenPage(const std::string& key);
}  // namespace ui
