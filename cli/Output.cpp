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

namespace {
nlohmann::ordered_json Texts(const std::vector<std::wstring>& texts) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const std::wstring& t : texts) list.push_back(engine::Utf8(t));
    return list;
}
}  // namespace

nlohmann::ordered_json ReportHeader(const std::string& command, const std::string& version, const std::string& started,
                                    const std::string& ended) {
    wchar_t machine[MAX_COMPUTERNAME_LENGTH + 1] = {}, user[257] = {};
    DWORD n = MAX_COMPUTERNAME_LENGTH + 1;
    ::GetComputerNameW(machine, &n);
    n = 257;
    ::GetUserNameW(user, &n);
    return {{"program", "sweepmere"}, {"reportVersion", kReportVersion}, {"version", version}, {"command", command},
            {"machine", engine::Utf8(machine)}, {"user", engine::Utf8(user)}, {"started", started}, {"ended", ended}};
}

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
    nlohmann::ordered_json report = ReportHeader(run.preview ? "preview" : "erase", version, run.started, run.ended);
    report["overwrite"] = run.overwrite;
    report["passes"] = run.passes;
    report["categories"] = std::move(categories);
    report["total"] = {{"erased", total.erased}, {"bytes", total.bytes}, {"stayed", total.failed}};
    return report;
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

nlohmann::ordered_json WipeReport(const std::vector<engine::WipeResult>& results, const std::string& started,
                                  const std::string& ended, const std::string& version) {
    nlohmann::ordered_json drives = nlohmann::ordered_json::array();
    for (const engine::WipeResult& r : results)
        drives.push_back({{"drive", engine::Utf8(DriveName(r.drive))}, {"complete", r.complete}, {"cancelled", r.stopped},
                          {"bytesWiped", r.bytesWiped}, {"fileRecordsWiped", r.fileRecords}, {"seconds", r.seconds},
                          {"freeAtStart", r.freeAtStart}, {"freeAfter", r.freeAfter}, {"fillerLeft", r.bytesLeft},
                          {"failure", engine::Utf8(r.failure)}, {"note", engine::Utf8(r.solidStateNote)}});
    nlohmann::ordered_json report = ReportHeader("wipe-unused", version, started, ended);
    report["drives"] = std::move(drives);
    return report;
}

std::string UtcNow() {
    SYSTEMTIME t;
    ::GetSystemTime(&t);
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

}  // namespace cli
