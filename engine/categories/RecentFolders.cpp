// Recent Documents and Recent Network Folder: the files directly in the user's Recent and
// network-shortcut folders (their sub-folders stay), found through the known folders, wide;
// Recent Documents also takes the shell's own list of them, which engine/traces/ describes.
#include <shlobj.h>

#include "Rows.h"
#include "TraceCategories.h"

namespace engine {
namespace rows {

namespace {

Listing ListFiles(REFKNOWNFOLDERID id) {
    std::wstring folder = KnownFolder(id);
    Listing listing;
    bool gone = false;
    std::wstring why = FolderRefusal(folder, gone);
    if (gone) return listing;
    std::vector<Entry> entries;
    if (!why.empty() || !ListEntries(folder, entries, &why)) {
        listing.problems.Failed(folder + L": " + why);
        return listing;
    }
    for (const Entry& e : entries)
        if (!e.folder) listing.items.push_back({folder + L"\\" + e.name, e.bytes});
    return listing;
}

Result EraseFiles(const std::wstring& folder, const Options& options) { return EraseFilesIn(folder, options); }
}  // namespace

Listing ListRecentDocuments(const Options&) {
    Listing listing = ListFiles(FOLDERID_Recent), list = ListDefined(keys::kRecentDocuments);
    for (Item& item : list.items) listing.items.push_back(std::move(item));
    listing.problems += list.problems;
    return listing;
}

Result EraseRecentDocuments(const Options& o) {
    Result result = EraseTop(KnownFolder(FOLDERID_Recent), o, EraseFiles);
    return result += EraseDefined(keys::kRecentDocuments, o);
}

Listing ListNetworkPlaces(const Options&) { return ListFiles(FOLDERID_NetHood); }
Result EraseNetworkPlaces(const Options& o) { return EraseTop(KnownFolder(FOLDERID_NetHood), o, EraseFiles); }

}  // namespace rows
}  // namespace engine
