// The command line of sweepmere.exe over a table of its own: which categories run, in which
// order, and which lines are refused.
#include <gtest/gtest.h>

#include "Args.h"
#include "Output.h"
#include "Shutdown.h"
#include "TestKit.h"
#include "Text.h"

namespace {

const std::vector<engine::Category> kTable = {
    {"internet.cache", "internet", L"Temporary Internet Files", nullptr, nullptr},
    {"internet.typed-urls", "internet", L"Typed URLs", nullptr, nullptr},
    {"system.clipboard", "system", L"Clipboard", nullptr, nullptr},
    {"apps.wordpad", "apps", L"WordPad", nullptr, nullptr},
};

const engine::Category kList{"wipelist:Mine", "wipelist", L"Mine", nullptr, nullptr};
const engine::Category* FindList(const std::wstring& name, std::wstring& why) {
    if (name == L"Two") why = L"several wipe lists have this name in other cases: \"two\" \"TWO\"";
    return name == L"Mine" ? &kList : nullptr;
}

// What a line selects, in one text: the command, the categories, the drives, then the options set.
std::string Read(const std::vector<std::wstring>& args, cli::WipeListLookup lists = nullptr) {
    const char* commands[] = {"none", "help", "list", "preview", "erase", "wipe-unused", "watch-browsers"};
    cli::Args a = cli::Parse(args, kTable, lists);
    std::string s = commands[static_cast<int>(a.command)];
    for (const engine::Category* c : a.categories) s += " " + c->key;
    for (wchar_t d : a.drives) s += std::string(" ") + static_cast<char>(d) + ":";
    if (a.overwrite) s += " overwrite";
    if (a.shutdown) s += " shutdown";
    if (!a.report.empty()) s += " report=" + engine::Utf8(a.report);
    if (!a.log.empty()) s += " log=" + engine::Utf8(a.log);
    return a.error.empty() ? s : s + " error=" + engine::Utf8(a.error);
}

TEST(CliArgs, LinesSelectTheirCommandCategoriesDrivesAndOptionsAndUsageErrorsSelectNothing) {
    struct Case { std::vector<std::wstring> args; const char* read; cli::WipeListLookup lists = nullptr; };
    const Case cases[] = {
        // Options take every prefix, keys any case.
        {{L"/erase", L"Internet.Cache", L"/Overwrite", L"--report", L"C:\\r.json"}, "erase internet.cache overwrite report=C:\\r.json"},
        {{L"-?"}, "help"},
        {{L"/LIST"}, "list"},
        // Groups and all run each category once, in table order.
        {{L"--Preview", L"apps", L"internet.typed-urls", L"INTERNET", L"internet.cache"}, "preview internet.cache internet.typed-urls apps.wordpad"},
        {{L"-ERASE", L"system", L"all"}, "erase internet.cache internet.typed-urls system.clipboard apps.wordpad"},
        // A wipe list needs the lookup and one list of its name; test_cli.cpp runs one after the table, once.
        {{L"/erase", L"wipelist:Mine"}, "none error=unknown category: wipelist:Mine"},
        {{L"/erase", L"wipelist:Other"}, "none error=unknown category: wipelist:Other", FindList},
        {{L"/erase", L"wipelist:Two"}, "none error=wipelist:Two: several wipe lists have this name in other cases: \"two\" \"TWO\"", FindList},
        // Drives once each, in their order, and no category; a task's log, browser watch and shutdown.
        {{L"/wipe-unused", L"t:", L"D:\\", L"T:", L"/report", L"r.json"}, "wipe-unused T: D: report=r.json"},
        {{L"/watch-browsers", L"internet", L"/shutdown", L"/log", L"C:\\l.txt"}, "watch-browsers internet.cache internet.typed-urls shutdown log=C:\\l.txt"},
        {{L"/wipe-unused", L"T:", L"/log", L"l.txt"}, "wipe-unused T: log=l.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.args, c.lists), c.read) << testing::PrintToString(c.args);

    // Usage errors name the fault and select nothing.
    const std::vector<std::vector<std::wstring>> wrong = {
        {}, {L"internet"}, {L"/erase"}, {L"/erase", L"internet.cachex"}, {L"/erase", L"internet", L"/force"},
        {L"/erase", L"internet", L"/report"}, {L"/erase", L"internet", L"/report", L"/overwrite"},
        {L"/erase", L"internet", L"/report", L"a", L"/report", L"b"}, {L"/erase", L"/preview", L"internet"},
        {L"/list", L"internet"}, {L"/preview", L"internet", L"/overwrite"}, {L"/erase", L"intern\u00e9t"},
        {L"/wipe-unused"}, {L"/wipe-unused", L"T:", L"internet"}, {L"/wipe-unused", L"T:", L"/overwrite"},
        {L"/wipe-unused", L"TT:"}, {L"/wipe-unused", L"T:x"}, {L"/erase", L"internet", L"T:"}, {L"/list", L"T:"},
        {L"/preview", L"internet", L"/log", L"l.txt"}, {L"/erase", L"internet", L"/log"}, {L"/list", L"/shutdown"},
        {L"/watch-browsers"}, {L"/watch-browsers", L"internet", L"/report", L"r.json"},
    };
    for (const auto& args : wrong) {
        cli::Args a = cli::Parse(args, kTable);
        EXPECT_NE(a.error, L"") << testing::PrintToString(args);
        EXPECT_EQ(a.command, cli::Command::None);
        EXPECT_TRUE(a.categories.empty());
        EXPECT_TRUE(a.drives.empty());
    }
}

TEST(CliShutdown, StartsWithAMinutesNoticeAndTheBoxCancelsIt) {
    static DWORD seconds = 0;
    static int aborted = 0;
    cli::ShutdownCalls real = cli::Shutdown();
    cli::Shutdown() = {[](LPWSTR, LPWSTR, DWORD s, BOOL, BOOL, DWORD) -> BOOL { return seconds = s, TRUE; },
                       [](LPWSTR) -> BOOL { return ++aborted, TRUE; }};
    for (int answer : {IDOK, IDCANCEL}) {
        testkit::DialogAnswerer box(L"Corvane-Sweepmere", answer);
        EXPECT_EQ(cli::TurnOffAfterErase(), L"");
        EXPECT_EQ(box.Count(), 1u);
    }
    cli::Shutdown() = real;
    EXPECT_EQ(seconds, 60u);
    EXPECT_EQ(aborted, 1);
}

TEST(CliOutput, WipeLinesTellWhatEachDriveGot) {
    engine::WipeResult r;
    r.drive = L'T';
    r.complete = true;
    r.bytesWiped = 62914560;
    r.fileRecords = 12;
    r.seconds = 3.24;
    r.solidStateNote = L"solid state";
    EXPECT_EQ(cli::WipeLine(r), L"T:  bytes wiped: 62914560, file records wiped: 12, time taken: 3.2 s; solid state");
    // A cancel whose filler was removed, and a drive not wiped, are unused_space_volume.sh's.
    r.solidStateNote.clear();
    r.complete = false;
    r.stopped = true;
    r.freeAfter = 4096;
    r.bytesLeft = 8192;
    EXPECT_EQ(cli::WipeLine(r), L"T:  cancelled after 62914560 bytes written; 8192 bytes of filler could not be removed yet; "
                                L"free space now: 4096 bytes");
    engine::WipeStatus s{L'T', 1 << 20, 4 << 20, 2 << 20, 1.5};
    EXPECT_EQ(cli::WipeProgressLine(s), L"T:  wiping: 1.00 of 4.00 MB written, 2.00 MB/s, about 1.5 s left");
}

}  // namespace
