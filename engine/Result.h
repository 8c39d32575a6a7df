// What one erase (or one preview) did, told back to whoever ran it: a page, a summary, the
// command line. Names and reasons are UTF-16, as the system gave them.
#pragma once
#include <string>
#include <vector>

namespace engine {

struct Result {
    unsigned erased = 0;           // items erased (files, values, keys, entries)
    unsigned long long bytes = 0;  // bytes of the files erased; 0 where nothing was a file
    unsigned failed = 0;           // items that stayed
    unsigned overwritten = 0;      // files overwritten before they were deleted
    unsigned deletedOnly = 0;      // files deleted with overwriting on but not overwritten (see notes)
    bool withoutOverwriting = false;  // overwriting on, but erased through a call that cannot overwrite
    std::vector<std::wstring> reasons;  // why items stayed, the first kMaxReasons of them
    std::vector<std::wstring> notes;    // what the user should know besides: one line each, no repeats

    static constexpr size_t kMaxReasons = 20;

    bool Complete() const { return failed == 0; }
    std::wstring FirstReason() const { return reasons.empty() ? std::wstring() : reasons.front(); }
    // Counts one item that stayed, keeping its reason while there is room.
    void Failed(std::wstring reason) {
        ++failed;
        if (reasons.size() < kMaxReasons) reasons.push_back(std::move(reason));
    }
    void Note(const std::wstring& note) {
        for (const std::wstring& n : notes)
            if (n == note) return;
        notes.push_back(note);
    }
    Result& operator+=(const Result& other) {
        erased += other.erased;
        bytes += other.bytes;
        overwritten += other.overwritten;
        deletedOnly += other.deletedOnly;
        withoutOverwriting = withoutOverwriting || other.withoutOverwriting;
        failed += other.failed;
        for (const std::wstring& r : other.reasons)
            if (reasons.size() < kMaxReasons) reasons.push_back(r);
        for (const std::wstring& n : other.notes) Note(n);
        return *this;
    }
};

// What a preview finds: the items an erase would take, and what it could not look at.
struct Item {
    std::wstring text;             // a path, a value's text, an address: as the user knows it
    unsigned long long bytes = 0;  // a file's size; 0 for anything else
};
struct Listing {
    std::vector<Item> items;
    Result problems;  // failed counts what could not be read, with the reasons
};

}  // namespace engine
