// The command line of sweepmere.exe over a table of its own: which categories run, in which
// order, and which lines are refused.
#include <gtest/gtest.h>

#include "Args.h"
#include "Output.h"
#include "Shutdown.h"
#include "TestKit.h"

namespace {

using cli::Command;

const std::vector<engine::Category>& Table() {
    static const std::vector<engine::Category> rows = {
        {"internet.cache", "internet", L"Temporary Internet Files", nullptr, nullptr},
        {"internet.typed-urls", "internet", L"Typed URLs", nullptr, nullptr},
        {"system.clipboard", "system", L"Clipboard", nullptr, nullptr},
        {"apps.wordpad", "apps", L"WordPad", nullptr, nullptr},
    };
    return rows;
}

const engine::Category kList{"wipelist:Mine", "wipelist", L"Mine", nullptr, nullptr};
const engine::Category* FindList(const std::wstring& name, std::wstring& why) {
    if (name == L"Two") why = L"several wipe lists have this name in other cases: \"two\" \"TWO\"";
    return name == L"Mine" ? &kList : nullptr;
}

cli::Args Parse(std::vector<std::wstring> args, cli::WipeListLookup lists = nullptr) {
    return cli::Parse(args, Table(), lists);
}
std::vector<std::string> Keys(const cli::Args& a) {
    std::vector<std::string> keys;
    for (const engine::Category* c : a.categories) keys.push_back(c->key);
    return keys;
}

TEST(CliArgs, OptionsTakeEveryPrefixAndKeysAnyCase) {
    for (const wchar_t* erase : {L"/erase", L"-ERASE", L"--Erase"}) {
        cli::Args a = Parse({erase, L"Internet.Cache", L"/Overwrite", L"--report", L"C:\\r.json"});
        EXPECT_EQ(a.error, L"") << erase;
        EXPECT_EQ(a.command, Command::Erase);
        EXPECT_EQ(Keys(a), std::vector<std::string>{"internet.cache"});
        EXPECT_TRUE(a.overwrite);
        EXPECT_EQ(a.report, L"C:\\r.json");
    }
    EXPECT_EQ(Parse({L"-?"}).command, Command::Help);
    EXPECT_EQ(Parse({L"/LIST"}).command, Command::List);
}

TEST(CliArgs, GroupsAndAllRunEachCategoryOnceInTableOrder) {
    EXPECT_EQ(Keys(Parse({L"/preview", L"apps", L"internet.typed-urls", L"INTERNET", L"internet.cache"})),
              (std::vector<std::string>{"internet.cache", "internet.typed-urls", "apps.wordpad"}));
    EXPECT_EQ(Keys(Parse({L"/erase", L"system", L"all"})).size(), Table().size());
}

TEST(CliArgs, WipeListKeysNeedTheLookupAndComeAfterTheTableOnce) {
    EXPECT_NE(Parse({L"/erase", L"wipelist:Mine"}).error, L"");
    EXPECT_EQ(Parse({L"/erase", L"wipelist:Other"}, FindList).error, L"unknown category: wipelist:Other");
    EXPECT_EQ(Parse({L"/erase", L"wipelist:Two"}, FindList).error.find(L"wipelist:Two: several wipe lists"), 0u);
    cli::Args a = Parse({L"/erase", L"WipeList:Mine", L"apps", L"wipelist:Mine"}, FindList);
    EXPECT_EQ(Keys(a), (std::vector<std::string>{"apps.wordpad", "wipelist:Mine"}));
}

TEST(CliArgs, WipeUnusedTakesDrivesOnceInTheirOrderAndNoCategory) {
    cli::Args a = Parse({L"/wipe-unused", L"t:", L"D:\\", L"T:", L"/report", L"r.json"});
    EXPECT_EQ(a.error, L"");
    EXPECT_EQ(a.command, Command::WipeUnused);
    EXPECT_EQ(a.drives, (std::vector<wchar_t>{L'T', L'D'}));
    EXPECT_TRUE(a.categories.empty());
    EXPECT_EQ(a.report, L"r.json");
}

TEST(CliArgs, ATaskLogsWhereToldWatchesBrowsersAndTurnsTheComputerOff) {
    cli::Args a = Parse({L"/watch-browsers", L"internet", L"/shutdown", L"/log", L"C:\\l.txt"});
    EXPECT_EQ(a.error, L"");
    EXPECT_EQ(a.command, Command::WatchBrowsers);
    EXPECT_EQ(Keys(a), (std::vector<std::string>{"internet.cache", "internet.typed-urls"}));
    EXPECT_TRUE(a.shutdown);
    EXPECT_EQ(a.log, L"C:\\l.txt");
    EXPECT_EQ(Parse({L"/wipe-unused", L"T:", L"/log", L"l.txt"}).log, L"l.txt");
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

TEST(CliArgs, UsageErrorsNameTheFaultAndSelectNothing) {
    const std::vector<std::vector<std::wstring>> wrong = {
        {},
        {L"internet"},
        {L"/erase"},
        {L"/erase", L"internet.cachex"},
        {L"/erase", L"internet", L"/force"},
        {L"/erase", L"internet", L"/report"},
        {L"/erase", L"internet", L"/report", L"/overwrite"},
        {L"/erase", L"internet", L"/report", L"a", L"/report", L"b"},
        {L"/erase", L"/preview", L"internet"},
        {L"/list", L"internet"},
        {L"/preview", L"internet", L"/overwrite"},
        {L"/erase", L"intern\u00e9t"},
        {L"/wipe-unused"},
        {L"/wipe-unused", L"T:", L"internet"},
        {L"/wipe-unused", L"T:", L"/overwrite"},
        {L"/wipe-unused", L"TT:"},
        {L"/wipe-unused", L"T:x"},
        {L"/erase", L"internet", L"T:"},
        {L"/list", L"T:"},
        {L"/preview", L"internet", L"/log", L"l.txt"},
        {L"/erase", L"internet", L"/log"},
        {L"/list", L"/shutdown"},
        {L"/watch-browsers"},
        {L"/watch-browsers", L"internet", L"/report", L"r.json"},
    };
    for (const auto& args : wrong) {
        cli::Args a = Parse(args);
        EXPECT_NE(a.error, L"") << testing::PrintToString(args);
        EXPECT_EQ(a.command, Command::None);
        EXPECT_TRUE(a.categories.empty());
        EXPECT_TRUE(a.drives.empty());
    }
}

TEST(CliOutput, LineTellsCountsTheFirstReasonOnlyWhenSomethingStayedAndEveryNote) {
    engine::Result r;
    r.erased = 3;
    r.bytes = 1234;
    EXPECT_EQ(cli::Line("internet.cache", r), L"internet.cache  3 erased, 1234 bytes, 0 stayed");
    r.Failed(L"C:\\c\\a.htm: in use");
    r.Failed(L"C:\\c\\b.htm: denied");
    r.Note(L"a log-off finishes the erase");
    EXPECT_EQ(cli::Line("x", r), L"x  3 erased, 1234 bytes, 2 stayed: C:\\c\\a.htm: in use; a log-off finishes the erase");
}

TEST(CliOutput, WipeLinesTellWhatEachDriveGot) {
    engine::WipeResult r;
    r.drive = L'T';
    r.complete = true;
    r.bytesWiped = 62914560;
    r.fileRecords = 12;
    r.seconds = 3.24;
    EXPECT_EQ(cli::WipeLine(r), L"T:  bytes wiped: 62914560, file records wiped: 12, time taken: 3.2 s");
    r.solidStateNote = L"solid state";
    EXPECT_EQ(cli::WipeLine(r), L"T:  bytes wiped: 62914560, file records wiped: 12, time taken: 3.2 s; solid state");
    r.solidStateNote.clear();
    r.complete = false;
    r.stopped = true;
    r.freeAfter = 4096;
    EXPECT_EQ(cli::WipeLine(r), L"T:  cancelled after 62914560 bytes written; the filler was removed; free space now: 4096 bytes");
    r.bytesLeft = 8192;
    EXPECT_EQ(cli::WipeLine(r), L"T:  cancelled after 62914560 bytes written; 8192 bytes of filler could not be removed yet; "
                                L"free space now: 4096 bytes");
    r.stopped = false;
    r.bytesLeft = 0;
    r.bytesWiped = 0;
    r.failure = L"T: is a network drive: only this computer's own drives are wiped.";
    EXPECT_EQ(cli::WipeLine(r), L"T:  not wiped: " + r.failure);
    engine::WipeStatus s{L'T', 1 << 20, 4 << 20, 2 << 20, 1.5};
    EXPECT_EQ(cli::WipeProgressLine(s), L"T:  wiping: 1.00 of 4.00 MB written, 2.00 MB/s, about 1.5 s left");
}

}  // namespace
