// The clipboard: whatever it holds goes; another program holding it open is a failure.
#include "Rows.h"

namespace engine {
namespace rows {

Listing ListClipboard(const Options&) {
    Listing listing;
    if (!::OpenClipboard(nullptr)) {
        listing.problems.Failed(L"Another program holds the clipboard open.");
        return listing;
    }
    std::wstring text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        // Another program wrote the block: its zero may be missing, so the block's size bounds it.
        SIZE_T chars = ::GlobalSize(data) / sizeof(wchar_t);
        if (const wchar_t* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text.assign(p, wcsnlen(p, chars));
            ::GlobalUnlock(data);
        }
    }
    if (::CountClipboardFormats() > 0) listing.items.push_back({text, 0});
    ::CloseClipboard();
    return listing;
}

Result EraseClipboard(const Options&) {
    Result result;
    if (!::OpenClipboard(nullptr)) {
        result.Failed(L"Another program holds the clipboard open.");
        return result;
    }
    if (::CountClipboardFormats() > 0) result.erased = 1;
    if (!::EmptyClipboard()) {
        result.erased = 0;
        result.Failed(L"The clipboard could not be emptied.");
    }
    ::CloseClipboard();
    return result;
}

}  // namespace rows
}  // namespace engine
