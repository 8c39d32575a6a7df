#include "Output.h"

#include <windows.h>

#include <cstdio>

#include "Report.h"
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
    if (r.withoutOverwriting && r.erased) line += L"; deleted without overwriting";
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

namespace {
std::wstring DriveName(wchar_t drive) { return std::wstring(1, drive) + L":"; }
std::wstring Seconds(double s) {
    wchar_t text[32];
    swprintf(text, 32, L"%.1f s", s);
    return text;
}
}  // namespace

std::wstring WipeProgressLine(const engine::WipeStatus& s) {
    std::wstring line = DriveName(s.drive) + L"  wiping: " + engine::PartOfText(s.written, s.freeAtStart) + L" written";
    if (s.bytesPerSecond >= 1) line += L", " + engine::SizeText(static_cast<unsigned long long>(s.bytesPerSecond)) + L"/s";
    if (s.secondsLeft > 0) line += L", about " + Seconds(s.secondsLeft) + L" left";
    if (s.records) line += L", file records wiped: " + std::to_wstring(s.records);
    return line;
}

std::wstring WipeLine(const engine::WipeResult& r) {
    std::wstring line = DriveName(r.drive) + L"  ";
    const std::wstring written = std::to_wstring(r.bytesWiped) + L" bytes written";
    if (r.stopped) line += L"cancelled after " + written + (r.bytesLeft ? L"" : L"; the filler was removed");
    else if (!r.failure.empty()) line += (r.bytesWiped ? L"stopped after " + written + L": " : L"not wiped: ") + r.failure;
    else
        line += L"bytes wiped: " + std::to_wstring(r.bytesWiped) + L", file records wiped: " + std::to_wstring(r.fileRecords) +
                L", time taken: " + Seconds(r.seconds);
    if (r.bytesLeft) line += L"; " + std::to_wstring(r.bytesLeft) + L" bytes of filler could not be removed yet";
    if (!r.complete && r.bytesWiped) line += L"; free space now: " + std::to_wstring(r.freeAfter) + L" bytes";
    for (const std::wstring* note : {&r.solidStateNote, &r.shadowCopiesNote})
        if (!note->empty()) line += L"; " + *note;
    return line;
}

nlohmann::ordered_json WipeReport(const std::vector<engine::WipeResult>& results, const std::string& started,
                                  const std::string& ended, const std::string& version) {
    nlohmann::ordered_json drives = nlohmann::ordered_json::array();
    for (const engine::WipeResult& r : results)
        drives.push_back({{"drive", engine::Utf8(DriveName(r.drive))}, {"complete", r.complete}, {"cancelled", r.stopped},
                          {"bytesWiped", r.bytesWiped}, {"fileRecordsWiped", r.fileRecords}, {"seconds", r.seconds},
                          {"freeAtStart", r.freeAtStart}, {"freeAfter", r.freeAfter}, {"fillerLeft", r.bytesLeft},
                          {"failure", engine::Utf8(r.failure)}, {"note", engine::Utf8(r.solidStateNote)}});
    return {{"program", "sweepmere"}, {"version", version}, {"command", "wipe-unused"},
            {"started", started}, {"ended", ended}, {"drives", std::move(drives)}};
}

std::string UtcNow() {
    SYSTEMTIME t;
    ::GetSystemTime(&t);
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

}  // namespace cli
