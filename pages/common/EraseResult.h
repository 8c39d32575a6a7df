// What one category's erase did, told back to whoever ran it: the page itself, or a summary page
// that runs several categories' erases without opening their pages.
#pragma once
#include <string>

struct EraseResult {
    unsigned erased = 0;           // items erased (files, values, keys, entries)
    unsigned long long bytes = 0;  // bytes of the files deleted; 0 where nothing was a file
    unsigned failed = 0;           // items that stayed
    std::wstring firstReason;       // why the first of them stayed; empty when none did

    bool Complete() const { return failed == 0; }
    // Counts one item that stayed, keeping the first reason given.
    void Failed(const std::wstring& reason) {
        ++failed;
        if (firstReason.empty()) firstReason = reason;
    }
    EraseResult& operator+=(const EraseResult& other) {
        erased += other.erased;
        bytes += other.bytes;
        failed += other.failed;
        if (firstReason.empty()) firstReason = other.firstReason;
        return *this;
    }
};
