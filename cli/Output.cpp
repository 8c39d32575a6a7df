#include "Output.h"

#include <windows.h>

#include <cstdio>

#include "Text.h"

namespace cli {

Outcome FromListing(const engine::Category& category, engine::Listing listing) {
    Outcome o{&category, std::move(listing.problems), std::move(listing.items)};
    o.result.erased = static_cast<unsigned>(o.items.size());
    for (const engine::Item& item : o.items) o.result.bytes += item.bytes;
    return o;
}

std::wstring Line(const std::string& key, const engine::Result& r) {
    std::wstring line = engine::FromUtf8(key) + L"  " + std::to_wstring(r.erased) + L" erased, " +
                        std::to_wstring(r.bytes) + L" bytes, " + std::to_wstring(r.failed) + L" stayed";
    if (r.failed && !r.reasons.empty()) line += L": " + r.FirstReason();
    for (const std::wstring& note : r.notes) line += L"; " + note;
    return line;
}

namespace {
nlohmann::ordered_json Texts(const std::vector<std::wstring>& texts) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const std::wstring& t : texts) list.push_back(engine::Utf8(t));
    return list;
}
}  // namespace

nlohmann::ordered_json Report(const Run& run, const std::string& version) {
    nlohmann::ordered_json categories = nlohmann::ordered_json::array();
    engine::Result total;
    for (const Outcome& o : run.outcomes) {
        const engine::Result& r = o.result;
        nlohmann::ordered_json c = {{"key", o.category->key}, {"name", engine::Utf8(o.category->name)},
                            {"erased", r.erased}, {"bytes", r.bytes}, {"stayed", r.failed},
                            {"reasons", Texts(r.reasons)}, {"notes", Texts(r.notes)}};
        if (run.overwrite) c["overwritten"] = r.overwritten;
        if (run.preview) {
            c["items"] = nlohmann::ordered_json::array();
            for (const engine::Item& item : o.items) c["items"].push_back({{"text", engine::Utf8(item.text)}, {"bytes", item.bytes}});
        }
        categories.push_back(std::move(c));
        total += r;
    }
    return {{"program", "sweepmere"}, {"version", version}, {"command", run.preview ? "preview" : "erase"},
            {"overwrite", run.overwrite}, {"started", run.started}, {"ended", run.ended},
            {"categories", std::move(categories)},
            {"total", {{"erased", total.erased}, {"bytes", total.bytes}, {"stayed", total.failed}}}};
}

std::string UtcNow() {
    SYSTEMTIME t;
    ::GetSystemTime(&t);
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

}  // namespace cli
