// sweepmere.exe: the categories of the engine's table listed, previewed and erased, and the unused
// space of drives wiped, from a script, a scheduled task or a deployment tool. No window, no pause,
// no question.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <deque>

#include "Args.h"
#include "LogFile.h"
#include "Output.h"
#include "Text.h"
#include "PathRules.h"
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
const char* const kLogOffKey = "system.registry-traces";
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

// The report is written to a new file beside the one named and put in its place at the end: a
// link or a second name at that place is replaced, never written through, and no erase of the
// run touches either file.
struct ReportFile {
    std::wstring target, temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    std::vector<engine::FileId> ids;
};

// Empty when the report can be written, else why not.
std::wstring OpenReport(const std::wstring& named, ReportFile& r) {
    std::wstring full = named;
    if (!engine::IsAbsoluteFolder(named)) {
        std::wstring here(::GetCurrentDirectoryW(0, nullptr), L'\0');
        here.resize(::GetCurrentDirectoryW(static_cast<DWORD>(here.size()), &here[0]));
        full = here + L"\\" + named;
    }
    r.target = engine::ExactPath(full);
    if (r.target.empty() || r.target.back() == L'\\') return named + L" is not a file name";
    engine::LogFileState state = engine::InspectLogFile(r.target);
    if (state == engine::LogFileState::Link) return named + L" is a link; name another file";
    if (state == engine::LogFileState::Folder) return named + L" is a folder; name a file";
    r.temp = r.target + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    r.file = ::CreateFileW(r.temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (r.file == INVALID_HANDLE_VALUE) return engine::Reason(named, ::GetLastError());
    for (const std::wstring* path : {&r.temp, &r.target}) {
        engine::FileId id;
        if (engine::FileIdOf(*path, id)) r.ids.push_back(id);
    }
    return {};
}

// Writes the report and puts it in place; false with the error code set when it could not be.
bool WriteReport(ReportFile& r, const nlohmann::ordered_json& report) {
    const std::string bytes = report.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    DWORD n = 0;
    bool ok = ::WriteFile(r.file, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr) && n == bytes.size() &&
              ::FlushFileBuffers(r.file);
    ok = ::CloseHandle(r.file) && ok;
    ok = ok && ::MoveFileExW(r.temp.c_str(), r.target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    DWORD error = ::GetLastError();
    if (!ok) ::DeleteFileW(r.temp.c_str());
    ::SetLastError(error);
    return ok;
}

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
    run.overwrite = args.overwrite;
    engine::Options options;
    options.overwrite = args.overwrite;
    options.spare = spare;
    engine::Result total;
    for (const engine::Category* c : args.categories) {
        cli::Outcome o = run.preview ? cli::FromListing(*c, engine::RunList(*c, options))
                                     : cli::Outcome{c, engine::RunErase(*c, options), {}};
        if (!run.preview && c->key == kLogOffKey) o.result.Note(kLogOffNote);
        if (!run.preview && !c->erase) o.result.Note(L"shown only: this category has nothing to erase");
        std::wstring text = cli::Line(c->key, o.result) + L"\n";
        for (const engine::Item& item : o.items) text += Indented(item.text);
        out << text;
        total += o.result;
        run.outcomes.push_back(std::move(o));
    }
    total.notes.clear();  // each was told on its category's line
    out << cli::Line("total", total) + L"\n";
    return total.failed ? 1 : 0;
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
    ReportFile report;
    if (!args.report.empty()) {
        std::wstring why = OpenReport(args.report, report);
        if (!why.empty()) {
            err << L"sweepmere: the report cannot be written: " + why + L"\n" + cli::kUsage;
            return 2;
        }
    }

    int code = 0;
    nlohmann::ordered_json json;
    const std::string started = cli::UtcNow();
    if (args.command == cli::Command::WipeUnused) {
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
    if (report.file != INVALID_HANDLE_VALUE && !WriteReport(report, json)) {
        err << L"sweepmere: " + engine::Reason(L"the report could not be written: " + args.report, ::GetLastError()) + L"\n";
        code = 2;
    }
    return code;
}
