// The clipboard: whatever it holds goes; another program holding it open is a failure.
#include "Rows.h"
#include "Traces.h"

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
    return EmptyClipboard([] { return ::OpenClipboard(nullptr) != FALSE; }, false);
}

}  // namespace rows

Result EmptyClipboard(const std::function<bool()>& open, bool announceText) {
    Result result;
    if (!open()) {
        result.Failed(L"Another program holds the clipboard open.");
        return result;
    }
    if (::CountClipboardFormats() > 0) result.erased = 1;
    if (!::EmptyClipboard()) {
        result.erased = 0;
        result.Failed(L"The clipboard could not be emptied.");
    } else if (announceText) {
        ::SetClipboardData(CF_TEXT, nullptr);  // announced, never rendered: the owner's text is gone
    }
    ::CloseClipboard();
    return result;
}

}  // namespace engine
