// fuzz-sources: cli/Args.cpp
// Any command line: either a usage error that selects nothing, or a command whose categories
// are rows of the table, each once, in table order; a wipe of unused space takes drive letters,
// each once, and no category.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "Args.h"

namespace {
const std::vector<engine::Category> kTable = {
    {"internet.cache", "internet", L"Cache", nullptr, nullptr},
    {"internet.typed-urls", "internet", L"Typed URLs", nullptr, nullptr},
    {"system.clipboard", "system", L"Clipboard", nullptr, nullptr},
    {"apps.wordpad", "apps", L"WordPad", nullptr, nullptr},
};
const engine::Category kList{"wipelist:a", "wipelist", L"a", nullptr, nullptr};
const engine::Category* Lookup(const std::wstring& name, std::wstring&) { return name == L"a" ? &kList : nullptr; }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Arguments split at zero bytes; each byte pair one UTF-16 unit.
    std::vector<std::wstring> args(1);
    for (size_t i = 0; i + 1 < size; i += 2) {
        wchar_t c = static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        if (c == 0) args.emplace_back();
        else args.back() += c;
    }
    cli::Args a = cli::Parse(args, kTable, size % 2 ? Lookup : nullptr);
    if (!a.error.empty()) {
        if (a.command != cli::Command::None || !a.categories.empty() || !a.drives.empty()) abort();
        return 0;
    }
    if (a.command == cli::Command::None) abort();
    if ((a.command == cli::Command::WipeUnused) == a.drives.empty()) abort();
    for (size_t i = 0; i < a.drives.size(); ++i) {
        if (a.drives[i] < L'A' || a.drives[i] > L'Z') abort();
        for (size_t j = 0; j < i; ++j)
            if (a.drives[j] == a.drives[i]) abort();
    }
    const bool runs = a.command == cli::Command::Preview || a.command == cli::Command::Erase;
    if (runs == a.categories.empty()) abort();
    const engine::Category* last = nullptr;
    for (const engine::Category* c : a.categories) {
        if (c != &kList && (c < kTable.data() || c >= kTable.data() + kTable.size())) abort();
        if (last && (last == &kList || (c != &kList && c <= last))) abort();  // order and no repeats
        last = c;
    }
    if (!a.report.empty() && (a.report[0] == L'/' || a.report[0] == L'-')) abort();
    return 0;
}
