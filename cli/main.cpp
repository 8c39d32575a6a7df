// sweepmere.exe: the categories of the engine's table listed, previewed and erased, and the unused
// space of drives wiped, from a script, a scheduled task or a deployment tool. No window, no pause,
// no question.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <deque>

#include "Args.h"
#include "BrowserWatch.h"
#include "CategoryKeys.h"
#include "LogFile.h"
#include "Output.h"
#include "Policy.h"
#include "Shutdown.h"
#include "Text.h"
#include "ReportFile.h"
#include "UnusedSpace.h"
#include "Walk.h"
#include "WipeList.h"
#include "Worker.h"

namespace {

// Standard output or error: UTF-16 to a console, so that every name shows; UTF-8 to a file or pipe.
class Stream {
public:
    explicit Stream(DWORD which) : m_handle(::GetStdHandle(which)) {
        DWORD mode;
        m_console = ::GetConsoleMode(m_handle, &mode) != 0;
    }
    Stream& operator<<(const std::wstring& text) {
        DWORD n;
        if (m_console) {
            ::WriteConsoleW(m_handle, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
        } else {
            std::string bytes = engine::Utf8(text);
            ::WriteFile(m_handle, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
        }
        return *this;
    }

private:
    HANDLE m_handle;
    bool m_console;
};

// The registry traces are rewritten by the session until it ends: the GUI offers a log-off here.
const char* const kLogOffKey = engine::keys::kRegistryTraces;
const wchar_t* const kLogOffNote = L"a log-off finishes the erase";

// A saved wipe list named on the command line, kept for the run: one list is one category however
// it is spelled.
const engine::Category* FindWipeList(const std::wstring& name, std::wstring& why) {
    static std::deque<engine::Category> found;
    std::optional<engine::Category> list = engine::WipeListCategory(name, &why);
    if (!list) return nullptr;
    for (const engine::Category& c : found)
        if (c.key == list->key) return &c;
    found.push_back(std::move(*list));
    return &found.back();
}

int List(Stream& out) {
    size_t width = 0;
    for (const engine::Category& c : engine::Categories()) width = std::max(width, c.key.size());
    auto column = [](const std::string& text, size_t width) { return text + std::string(width - std::min(width - 2, text.size()), ' '); };
    for (const engine::Category& c : engine::Categories())
        out << engine::FromUtf8(column(c.key, width + 2) + column(c.group, 10)) + c.name + L"\n";
    return 0;
}

// An item under its category's line, indented; an item of several lines (a clipboard text) keeps
// the indent on each.
std::wstring Indented(const std::wstring& text) {
    std::wstring out = L"    ";
    for (wchar_t c : text) {
        if (c == L'\r') continue;
        out += c;
        if (c == L'\n') out += L"    ";
    }
    return out + L"\n";
}

// How often the browser watch looks at the running processes.
constexpr unsigned kWatchMs = 4000;

// Ctrl+C, Ctrl+Break or the console closed during a wipe: the wipe stops and removes its filler
// before the handler lets the process end. The event is set while no wipe runs.
engine::StopToken g_wipeStop;
HANDLE g_noWipe = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);

BOOL WINAPI OnConsoleStop(DWORD) {
    g_wipeStop.Request();
    ::WaitForSingleObject(g_noWipe, 10000);
    return TRUE;
}

// Each drive in turn, as the Unused Space page does; a line of progress at most once a second.
int WipeUnused(const cli::Args& args, Stream& out, std::vector<engine::WipeResult>& results) {
    using Clock = std::chrono::steady_clock;
    ::SetConsoleCtrlHandler(OnConsoleStop, TRUE);
    int code = 0;
    for (wchar_t drive : args.drives) {
        Clock::time_point shown = Clock::now();
        auto progress = [&](const engine::WipeStatus& s) {
            if (Clock::now() - shown < std::chrono::seconds(1)) return;
            shown = Clock::now();
            out << cli::WipeProgressLine(s) + L"\n";
        };
        // Marked as running before the stop is looked at: a stop asked in between waits for the wipe.
        ::ResetEvent(g_noWipe);
        engine::WipeResult r;
        if (g_wipeStop.Requested()) {
            r.drive = drive;
            r.failure = L"the wipe was cancelled before it began";
        } else {
            r = engine::WipeUnusedSpace(drive, progress, g_wipeStop);
        }
        ::SetEvent(g_noWipe);
        out << cli::WipeLine(r) + L"\n";
        if (!r.complete) code = 1;
        results.push_back(std::move(r));
    }
    return code;
}

int EraseOrPreview(const cli::Args& args, Stream& out, cli::Run& run, const std::vector<engine::FileId>& spare) {
    run.preview = args.command == cli::Command::Preview;
    engine::Options options;
    options.overwrite = args.overwrite;
    options = engine::WithPolicy(options);
    options.spare = spare;
    run.overwrite = options.overwrite;
    run.passes = options.passes;
    engine::Result total;
    std::vector<std::wstring> told;  // a note common to several categories (the log's) is said once
    // Each category's line as soon as it is done.
    auto tell = [&](const engine::Category& c, cli::Outcome o) {
        auto& notes = o.result.notes;
        notes.erase(std::remove_if(notes.begin(), notes.end(), [&](const std::wstring& n) {
                        return std::find(told.begin(), told.end(), n) != told.end();
                    }), notes.end());
        told.insert(told.end(), notes.begin(), notes.end());
        if (!run.preview && c.key == kLogOffKey) o.result.Note(kLogOffNote);
        if (!run.preview && !c.erase) o.result.Note(L"shown only: this category has nothing to erase");
        std::wstring text = cli::Line(c.key, o.result) + L"\n";
        for (const engine::Item& item : o.items) text += Indented(item.text);
        out << text;
        total += o.result;
        run.outcomes.push_back(std::move(o));
    };
    if (!run.preview) {
        engine::EraseCategories(args.categories, options, [&](const engine::Category& c, const engine::Outcome& o) {
            tell(c, {&c, o.result, {}});
        });
    } else {
        for (const engine::Category* c : args.categories) {
            // The engine refuses the erase of a category the policy turns off; a preview says so too.
            cli::Outcome o{c, {}, {}};
            if (engine::TurnedOff(*c)) o.result.Failed(engine::kTurnedOffText);
            else o = cli::FromListing(*c, engine::RunList(*c, options));
            tell(*c, std::move(o));
        }
    }
    total.notes.clear();  // each was told on its category's line
    out << cli::Line("total", total) + L"\n";
    return total.failed ? 1 : 0;
}

// Waits, at idle priority and looking every few seconds, for a browser's last process to end, then
// erases; for as long as the session lasts, or until Ctrl+C.
int WatchBrowsers(const cli::Args& args, Stream& out) {
    ::SetPriorityClass(::GetCurrentProcess(), IDLE_PRIORITY_CLASS);
    ::SetConsoleCtrlHandler(OnConsoleStop, TRUE);
    const std::vector<std::wstring> programs = engine::BrowserPrograms();
    std::vector<std::wstring> running = engine::RunningPrograms(programs);
    int code = 0;
    while (!g_wipeStop.Wait(kWatchMs)) {
        std::vector<std::wstring> now = engine::RunningPrograms(programs);
        const std::vector<std::wstring> closed = engine::Closed(running, now);
        running = now;
        if (closed.empty()) continue;
        out << closed.front() + L" closed\n";
        cli::Run run;
        code = EraseOrPreview(args, out, run, {});
        if (args.shutdown) break;
    }
    return code;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Stream out(STD_OUTPUT_HANDLE), err(STD_ERROR_HANDLE);
    // Before anything else: a wipe that never ended must not leave a disk full. Told on standard
    // error, so that what a script reads from standard output stays as it was.
    {
        std::vector<std::wstring> failures;
        const std::vector<std::wstring> removed = engine::RemoveLeftoverFillers(&failures);
        const std::wstring told = engine::LeftoverFillersText(removed, failures);
        if (!told.empty()) err << L"sweepmere: " + told;
    }
    cli::Args args = cli::Parse(std::vector<std::wstring>(argv + 1, argv + argc), engine::Categories(), FindWipeList);
    if (!args.error.empty()) {
        err << L"sweepmere: " + args.error + L"\n" + cli::kUsage;
        return 2;
    }
    if (args.command == cli::Command::Help) {
        out << cli::kUsage;
        return 0;
    }
    if (args.command == cli::Command::List) return List(out);

    // The report is made before anything is erased: a run whose report cannot be written erases nothing.
    engine::ReportFile report;
    args.report = engine::ReportPath(args.report);
    if (!args.report.empty()) {
        std::wstring why = engine::OpenReport(args.report, report);
        if (!why.empty()) {
            err << L"sweepmere: the report cannot be written: " + why + L"\n" + cli::kUsage;
            return 2;
        }
    }

    if (!args.log.empty()) engine::SetLogPathForProcess(args.log);
    int code = 0;
    nlohmann::ordered_json json;
    const std::string started = cli::UtcNow();
    if (args.command == cli::Command::WatchBrowsers) {
        code = WatchBrowsers(args, out);
    } else if (args.command == cli::Command::WipeUnused) {
        std::vector<engine::WipeResult> results;
        code = WipeUnused(args, out, results);
        json = cli::WipeReport(results, started, cli::UtcNow(), CORVANE_VERSION);
    } else {
        cli::Run run;
        code = EraseOrPreview(args, out, run, report.ids);
        run.started = started;
        run.ended = cli::UtcNow();
        json = cli::Report(run, CORVANE_VERSION);
    }
    json["exitCode"] = code;
    if (report.file && !engine::WriteReport(report, json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n")) {
        err << L"sweepmere: " + engine::Reason(L"the report could not be written: " + args.report, ::GetLastError()) + L"\n";
        code = 2;
    }
    if (args.shutdown && !g_wipeStop.Requested()) {
        const std::wstring problem = cli::TurnOffAfterErase();
        if (!problem.empty()) err << L"sweepmere: " + problem + L"\n";
    }
    return code;
}
