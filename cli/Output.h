// What sweepmere.exe tells: one line per category (and the items a preview found), and the same
// as a JSON report.
#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Categories.h"
#include "LogFile.h"
#include "UnusedSpace.h"

namespace cli {

// One category's run. For a preview, result.erased and result.bytes count what would go.
struct Outcome {
    const engine::Category* category = nullptr;
    engine::Result result;
    std::vector<engine::Item> items;
};

// Turns a preview's listing into the counts an erase would report.
Outcome FromListing(const engine::Category& category, engine::Listing listing);
// "<key>  <erased> erased, <bytes> bytes, <stayed> stayed[: <first reason>][; <note>...]"
inline std::wstring Line(const std::string& key, const engine::Result& result) { return engine::EraseLine(key, result); }

// Raised whenever a report's shape changes in a way a collector must know (docs/report.schema.json).
constexpr int kReportVersion = 1;

struct Run {
    bool preview = false;
    bool overwrite = false;
    unsigned passes = 1;
    std::string started, ended;  // ISO 8601, UTC
    std::vector<Outcome> outcomes;
};
// What every report begins with: the program, the report's and the program's version, the command,
// the machine, the user and the times.
nlohmann::ordered_json ReportHeader(const std::string& command, const std::string& version, const std::string& started,
                                    const std::string& ended);
nlohmann::ordered_json Report(const Run& run, const std::string& version);
// A wipe of unused space under way: "T:  wiping: 12.0 of 60.0 MB written, 41.2 MB/s, about 5.0 s left".
std::wstring WipeProgressLine(const engine::WipeStatus& status);
using engine::WipeLine;
// The report of a /wipe-unused run, one entry per drive asked for.
nlohmann::ordered_json WipeReport(const std::vector<engine::WipeResult>& results, const std::string& started,
                                  const std::string& ended, const std::string& version);
// The time now as "2026-12-07T07:50:00Z".
std::string UtcNow();

}  // namespace cli
