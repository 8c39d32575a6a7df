#include "Categories.h"

#include <windows.h>

#include <algorithm>

#include "Browsers.h"
#include "LogFile.h"
#include "Policy.h"
#include "Text.h"
#include "Worker.h"
#include "categories/Rows.h"

namespace engine {

namespace {
using namespace rows;

// An application's recent-file list: its List and Erase are those of the family, for its key.
template <const char* Key>
Category AppList(const wchar_t* name, int icon) {
    return {Key, "apps", name, icon, [](const Options& o) { return ListRecentFiles(Key, o); },
            [](const Options& o) { return rows::EraseRecentFiles(Key, o); }};
}
// A category whose page only shows: nothing to list, nothing to erase.
Category ShowOnly(const char* key, const wchar_t* name, int icon) {
    return {key, "apps", name, icon, [](const Options&) { return Listing{}; }, nullptr};
}

constexpr char kAccess[] = "apps.access", kExcel[] = "apps.excel", kPowerPoint[] = "apps.powerpoint",
               kWinzip[] = "apps.winzip", kPaint[] = "apps.paint", kMediaPlayer[] = "apps.media-player",
               kMmc[] = "apps.mmc", kWordPad[] = "apps.wordpad";

std::vector<Category> MakeTable() {
    std::vector<Category> table{
        // key, group, the tree's text, the tree's image, list, erase
        {"internet.cache", "internet", L"Temporary Internet Files", 13, ListCache, EraseCache},
        {"internet.cookies", "internet", L"Cookies", 12, ListCookies, EraseCookies},
        {"internet.history", "internet", L"History", 10, ListHistory, EraseHistory},
        {"internet.typed-urls", "internet", L"Typed URLs", 8, ListTypedUrls, EraseTypedUrls},
        {"system.recycle-bin", "system", L"Recycle Bin", 6, ListRecycleBin, EraseRecycleBin},
        {"system.recent-documents", "system", L"Recent Documents", 21, ListRecentDocuments, EraseRecentDocuments},
        {"system.network-places", "system", L"Recent Network Folder", 30, ListNetworkPlaces, EraseNetworkPlaces},
        {"system.user-temp", "system", L"Administrator's Temporary Files", 31, ListUserTemp, EraseUserTemp},
        {"system.windows-temp", "system", L"System Temporary Files", 29, ListWindowsTemp, EraseWindowsTemp},
        {"system.clipboard", "system", L"ClipBoard Content", 14, ListClipboard, EraseClipboard},
        {"system.event-log", "system", L"Windows Event Log", 24, ListEventLog, EraseEventLog},
        {"system.registry-traces", "system", L"System Registry Traces", 7, ListRegistryTraces, EraseRegistryTraces},
        {"system.open-file-history", "system", L"Open File History", 23, ListOpenFileHistory, EraseOpenFileHistory},
        {"system.mfu", "system", L"Most Frequently Used Registry", 34, ListProgramUse, EraseProgramUse},
        ShowOnly("apps.acrobat", L"Acrobat Reader", 15),
        AppList<kAccess>(L"Microsoft Access", 22),
        AppList<kExcel>(L"Microsoft Excel", 16),
        AppList<kPowerPoint>(L"Microsoft PowerPoint", 18),
        ShowOnly("apps.word", L"Microsoft Word", 19),
        AppList<kWinzip>(L"Winzip", 17),
        AppList<kPaint>(L"Paint", 9),
        AppList<kMediaPlayer>(L"Windows Media Player", 11),
        AppList<kMmc>(L"Microsoft Management Console", 32),
        AppList<kWordPad>(L"WordPad", 20),
    };
    for (Category& c : BrowserCategories()) table.push_back(std::move(c));
    return table;
}

// Closes the lock's handle, and releases it when it was taken, however the erase ends.
class HeldLock {
public:
    explicit HeldLock(const std::string& key) {
        std::wstring name = L"Local\\Corvane-Sweepmere erase " + FromUtf8(key);
        m_mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    }
    ~HeldLock() {
        if (m_held) ::ReleaseMutex(m_mutex);
        if (m_mutex) ::CloseHandle(m_mutex);
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    // An abandoned lock (its holder ended without releasing it) is taken over.
    bool Take(unsigned waitMs) {
        DWORD w = m_mutex ? ::WaitForSingleObject(m_mutex, waitMs) : WAIT_FAILED;
        m_held = w == WAIT_OBJECT_0 || w == WAIT_ABANDONED;
        return m_held;
    }

private:
    HANDLE m_mutex = nullptr;
    bool m_held = false;
};

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.compare(0, start.size(), start) == 0; }

// An erase is judged by what is left, not by what its calls said: the category lists again, and
// every item still there is "stayed" (with its own reason where the erase gave one), taken off
// the erased count and bytes where the erase had counted it.
void ReadBack(const Category& category, Result& result) {
    if (!category.list) return;
    Listing left = category.list(Options{});
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
                if (!options.stop || !options.stop->Requested()) ReadBack(category, result);
            }
        } catch (...) {
            result.Failed(category.name + L": " + ExceptionText(std::current_exception()));
        }
    }
    // Every erase of either program passes here: its lines go to the log.
    if (category.erase) LogErase(category.key, result);
    return result;
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
