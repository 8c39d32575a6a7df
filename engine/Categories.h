// Every category the program knows, each named once: its stable key, its group, its name as the
// tree and the reports show it, and its window-less preview and erase. The tree, the summary
// pages and the command line are built from this table.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "CategoryKeys.h"
#include "Options.h"
#include "Report.h"
#include "Result.h"

namespace engine {

struct Category {
    std::string key;    // "internet.cache": stable, for scripts, reports and the one-at-a-time lock
    std::string group;  // "internet", "system", "apps", "browsers"
    std::wstring name;  // "Temporary Internet Files": the tree's text and the report's
    // What an erase would take, touching nothing.
    std::function<Listing(const Options&)> list;
    // The erase without any window: no pause, no box. Null for a category that only shows.
    std::function<Result(const Options&)> erase;
};

// The rows in table order: internet, system, apps, then browsers.
const std::vector<Category>& Categories();
// The row of a key (case-insensitive); null when there is none.
const Category* FindCategory(const std::string& key);
// The row of a key the program itself names (keys::…); std::invalid_argument naming the key when
// there is none, which a worker turns into a failure rather than a crash.
const Category& CategoryOf(const std::string& key);

// Runs a category's erase while holding its one-at-a-time lock, shared by every process of the
// program (a named mutex per key): a second erase of the same category waits up to waitMs, then
// is reported busy. An exception inside becomes a failure of the result.
Result RunErase(const Category& category, const Options& options, unsigned waitMs = 10000);
// Runs a set of categories in turn through RunErase, each timed: what a page's erase and the
// console's run. A stop asked through options.stop ends the run before the next category; done
// hears each outcome as soon as it is known.
std::vector<Outcome> EraseCategories(const std::vector<const Category*>& categories, const Options& options,
                                     const std::function<void(const Category&, const Outcome&)>& done = {});
// The same for a preview (no lock: it touches nothing).
Listing RunList(const Category& category, const Options& options);

}  // namespace engine
