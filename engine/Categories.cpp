#include "Categories.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "Browsers.h"
#include "Handles.h"
#include "LogFile.h"
#include "Policy.h"
#include "TraceCategories.h"
#include "Text.h"
#include "Worker.h"
#include "categories/Rows.h"

namespace engine {

namespace {
using namespace rows;

// A row described by a definition of engine/traces/, its key alone until the definition fills it.
Category Traced(const char* key) {
    Category row;
    row.key = key;
    return row;
}

std::vector<Category> MakeTable() {
    // A row whose definition did not read is left out (its error is in TraceDefinitions' errors).
    std::vector<Category> table{
        // key, group, the tree's text, list, erase
        {keys::kCache, "internet", L"Temporary Internet Files", ListCache, EraseCache},
        {keys::kCookies, "internet", L"Cookies", ListCookies, EraseCookies},
        {keys::kHistory, "internet", L"History", ListHistory, EraseHistory},
        Traced(keys::kTypedUrls),
        {keys::kRecycleBin, "system", L"Recycle Bin", ListRecycleBin, EraseRecycleBin},
        // The Recent folder's files, with the shell's list of them that a definition describes.
        {keys::kRecentDocuments, "system", L"Recent Documents", ListRecentDocuments, EraseRecentDocuments},
        {keys::kNetworkPlaces, "system", L"Recent Network Folder", ListNetworkPlaces, EraseNetworkPlaces},
        {keys::kUserTemp, "system", L"Administrator's Temporary Files", ListUserTemp, EraseUserTemp},
        {keys::kWindowsTemp, "system", L"System Temporary Files", ListWindowsTemp, EraseWindowsTemp},
        {keys::kClipboard, "system", L"ClipBoard Content", ListClipboard, EraseClipboard},
        {keys::kEventLog, "system", L"Windows Event Log", ListEventLog, EraseEventLog},
        Traced(keys::kRegistryTraces),
        Traced(keys::kOpenFileHistory),
        Traced(keys::kMfu),
        Traced(keys::kAcrobat), Traced(keys::kAccess), Traced(keys::kExcel), Traced(keys::kPowerPoint), Traced(keys::kWord),
        Traced(keys::kWinzip), Traced(keys::kPaint), Traced(keys::kMediaPlayer), Traced(keys::kMmc), Traced(keys::kWordPad),
    };
    for (auto row = table.begin(); row != table.end();) {
        const TraceDef* def = row->list ? nullptr : FindTraceDefinition(row->key);
        if (def) *row = TraceCategory(*def);
        row = row->list ? row + 1 : table.erase(row);
    }
    // Any other definition follows the last row of its group.
    for (const TraceDef& def : TraceDefinitions()) {
        auto placed = [&](const Category& c) { return c.key == def.key; };
        if (std::any_of(table.begin(), table.end(), placed)) continue;
        auto last = std::find_if(table.rbegin(), table.rend(), [&](const Category& c) { return c.group == def.group; });
        table.insert(last.base(), TraceCategory(def));
    }
    for (Category& c : BrowserCategories()) table.push_back(std::move(c));
    return table;
}

// Closes the lock's handle, and releases it when it was taken, however the erase ends.
class HeldLock {
public:
    explicit HeldLock(const std::string& key) {
        std::wstring name = L"Local\\Corvane-Sweepmere erase " + FromUtf8(key);
        m_mutex.Reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
    }
    ~HeldLock() {
        if (m_held) ::ReleaseMutex(m_mutex.Get());
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    // An abandoned lock (its holder ended without releasing it) is taken over.
    bool Take(unsigned waitMs) {
        DWORD w = m_mutex ? ::WaitForSingleObject(m_mutex.Get(), waitMs) : WAIT_FAILED;
        m_held = w == WAIT_OBJECT_0 || w == WAIT_ABANDONED;
        return m_held;
    }

private:
    Handle m_mutex;
    bool m_held = false;
};

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.compare(0, start.size(), start) == 0; }

// An erase is judged by what is left, not by what its calls said: the category lists again, and
// every item still there is "stayed" (with its own reason where the erase gave one), taken off
// the erased count and bytes where the erase had counted it.
void ReadBack(const Category& category, const Options& options, Result& result) {
    if (!category.list) return;
    // The erase's own choices (what it spares and keeps), without its page, pauses or stop.
    Options look = options;
    look.sink = nullptr;
    look.stop = nullptr;
    look.folderMs = look.fileMs = 0;
    Listing left = category.list(look);
    if (left.items.size() <= result.failed) return;
    size_t missing = left.items.size() - result.failed;
    for (const Item& item : left.items) {
        if (!missing) break;
        if (std::any_of(result.reasons.begin(), result.reasons.end(),
                        [&](const std::wstring& r) { return StartsWith(r, item.text); }))
            continue;
        result.Failed(item.text + L": still there after the erase.");
        if (result.erased) --result.erased;
        result.bytes -= std::min(result.bytes, item.bytes);
        --missing;
    }
}
}  // namespace

const std::vector<Category>& Categories() {
    static const std::vector<Category> table = MakeTable();
    return table;
}

const Category* FindCategory(const std::string& key) {
    for (const Category& c : Categories())
        if (SameNoCase(FromUtf8(key), FromUtf8(c.key))) return &c;
    return nullptr;
}

const Category& CategoryOf(const std::string& key) {
    if (const Category* c = FindCategory(key)) return *c;
    throw std::invalid_argument("no category has the key \"" + key + "\"");
}

Result RunErase(const Category& category, const Options& options, unsigned waitMs) {
    Result result;
    if (TurnedOff(category)) {
        result.Failed(kTurnedOffText);
    } else {
        try {
            HeldLock lock(category.key);
            if (!lock.Take(waitMs)) {
                result.Failed(L"busy: another erase of this category is running");
            } else if (category.erase) {
                result = category.erase(options);
                if (!options.stop || !options.stop->Requested()) ReadBack(category, options, result);
            }
        } catch (...) {
            result.Failed(category.name + L": " + ExceptionText(std::current_exception()));
        }
    }
    // Every erase of either program passes here: its lines go to the log.
    if (category.erase) LogErase(category.key, result);
    return result;
}

std::vector<Outcome> EraseCategories(const std::vector<const Category*>& categories, const Options& options,
                                     const std::function<void(const Category&, const Outcome&)>& done) {
    std::vector<Outcome> outcomes;
    for (const Category* c : categories) {
        if (options.stop && options.stop->Requested()) break;
        const auto start = std::chrono::steady_clock::now();
        Result result = RunErase(*c, options);
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
        outcomes.push_back({c->name, std::move(result), static_cast<unsigned long long>(ms.count())});
        if (done) done(*c, outcomes.back());
    }
    return outcomes;
}

Listing RunList(const Category& category, const Options& options) {
    Listing listing;
    try {
        if (category.list) listing = category.list(options);
    } catch (...) {
        listing.problems.Failed(category.name + L": " + ExceptionText(std::current_exception()));
    }
    return listing;
}

}  // namespace engine
