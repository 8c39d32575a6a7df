// Erase tasks and the log: the task's XML, words and description, the log's lines and its cap,
// and tasks registered with the test prefix's own Task Scheduler.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "Categories.h"
#include "LogFile.h"
#include "Schedule.h"
#include "TestFiles.h"

using namespace engine;
using testkit::ReadWholeFile;

namespace {
TaskSpec Plan(TaskKind kind) {
    TaskSpec s;
    s.name = L"Nightly";
    s.kind = kind;
    s.when = {2026, 12, 7, 1, 18, 5};
    s.everyMinutes = 150;
    s.keys = {"internet.typed-urls", "system.clipboard"};
    return s;
}
}  // namespace

TEST(TaskDefinition, EachKindHasItsTriggerWordsAndReadsBackFromItsDescriptionAndFaultsAreRefused) {
    struct Case { TaskKind kind; const wchar_t* trigger; const wchar_t* words; };
    const Case cases[] = {
        {TaskKind::Manually, L"<Triggers></Triggers>", L"Manually"},
        {TaskKind::Once, L"<TimeTrigger><StartBoundary>2026-12-07T18:05:00</StartBoundary></TimeTrigger>", L"at 18:05 on 2026-12-07"},
        {TaskKind::Interval, L"<Repetition><Interval>PT2H30M</Interval></Repetition>", L"every 2:30 hours"},
        {TaskKind::Daily, L"<ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay>", L"every day at 18:05"},
        {TaskKind::Weekly, L"<DaysOfWeek><Monday /></DaysOfWeek>", L"every Monday at 18:05"},
        {TaskKind::Monthly, L"<DaysOfMonth><Day>7</Day></DaysOfMonth>", L"every month on day 7 at 18:05"},
        {TaskKind::Logon, L"<LogonTrigger><UserId>PC\\ann</UserId></LogonTrigger>", L"at user logon"},
        {TaskKind::Startup, L"<BootTrigger />", L"at system startup"},
        {TaskKind::Logoff, L"Provider[@Name='Microsoft-Windows-Winlogon'] and EventID=7002", L"at user logoff"},
        {TaskKind::Shutdown, L"Provider[@Name='User32'] and EventID=1074", L"at system shutdown"},
        {TaskKind::BrowserClosed, L"<LogonTrigger>", L"when a browser closes"},
    };
    for (const Case& c : cases) {
        TaskSpec s = Plan(c.kind);
        s.shutdown = c.kind == TaskKind::Daily;
        const std::wstring xml = TaskXml(s, L"C:\\P & Q\\sweepmere.exe", L"PC\\ann", false);
        EXPECT_NE(xml.find(c.trigger), std::wstring::npos) << static_cast<int>(c.kind) << L" " << xml;
        EXPECT_NE(xml.find(L"<Command>C:\\P &amp; Q\\sweepmere.exe</Command>"), std::wstring::npos);
        EXPECT_NE(xml.find(L"<RunLevel>LeastPrivilege</RunLevel>"), std::wstring::npos);
        EXPECT_EQ(TaskInWords(s), c.words);
        std::optional<TaskSpec> back = SpecFromDescription(s.name, TaskDescription(s));
        ASSERT_TRUE(back);
        EXPECT_EQ(TaskXml(*back, L"x", L"u", true), TaskXml(s, L"x", L"u", true));
    }
    EXPECT_EQ(TaskArguments(Plan(TaskKind::Daily)), L"/erase internet.typed-urls system.clipboard");
    TaskSpec watch = Plan(TaskKind::BrowserClosed);
    watch.shutdown = true;
    EXPECT_EQ(TaskArguments(watch), L"/watch-browsers internet.typed-urls system.clipboard /shutdown");
    for (const wchar_t* bad : {L"", L"sweepmere: kind=99 at=2026-12-07T18:05 dow=1 every=0 shutdown=0 keys=a",
                               L"sweepmere: kind=1 at=2026-13-07T18:05 dow=1 every=0 shutdown=0 keys=a",
                               L"sweepmere: kind=1 at=2026-12-07T18:05 dow=1 every=0 shutdown=0 keys=a/../b"})
        EXPECT_FALSE(SpecFromDescription(L"n", bad)) << bad;

    // Names and plans the scheduler would refuse are refused first, with the reason.
    EXPECT_EQ(TaskNameProblem(L"Nightly erase"), L"");
    for (const wchar_t* bad : {L"", L"  ", L"a\\b", L"a:b", L"why?", L"dot."}) EXPECT_NE(TaskNameProblem(bad), L"") << bad;
    TaskSpec none = Plan(TaskKind::Daily), zero = Plan(TaskKind::Interval);
    none.keys.clear();
    zero.everyMinutes = 0;
    EXPECT_EQ(TaskSpecProblem(none), L"Check at least one category for the task to erase.");
    EXPECT_EQ(TaskSpecProblem(zero), L"The interval must be at least one minute.");
}

// The console prints the same line, without the time.
TEST(Log, LinesCarryTheLocalTimeTheConsoleLineAndAReasonForWhatStayedAndTheFileRotatesPastTheCap) {
    SYSTEMTIME t{2026, 12, 1, 7, 9, 5, 3, 0};
    Result r;
    r.erased = 13;
    r.Failed(L"C:\\c\\a.htm: in use");
    r.Failed(L"C:\\c\\b.htm: denied");
    r.Note(L"a log-off finishes the erase");
    EXPECT_EQ(EraseLogLines(t, "internet.cache", r),
              (std::vector<std::wstring>{L"2026-12-07 09:05:03  internet.cache  13 erased, 0 bytes, 2 stayed: C:\\c\\a.htm: in use; "
                                         L"a log-off finishes the erase",
                                         L"2026-12-07 09:05:03      stayed: C:\\c\\a.htm: in use",
                                         L"2026-12-07 09:05:03      stayed: C:\\c\\b.htm: denied"}));
    EXPECT_FALSE(RotationDue(0, kLogCap + 1));  // a single long run still goes into an empty log
    EXPECT_TRUE(RotationDue(kLogCap - 10, 11));
    EXPECT_EQ(RotatedName(L"C:\\x.y\\Erase.txt"), L"C:\\x.y\\Erase.1.txt");
    EXPECT_EQ(RotatedName(L"C:\\x.y\\log"), L"C:\\x.y\\log.1");

    const std::wstring folder = testkit::ScratchFolder(L"log"), path = folder + L"\\sub\\Erase.txt", older = folder + L"\\sub\\Erase.1.txt";
    EXPECT_EQ(AppendToLogFile(path, {L"\u0416 one"}), L"");
    EXPECT_EQ(AppendToLogFile(path, {L"two"}), L"");
    EXPECT_EQ(ReadWholeFile(path), "\xD0\x96 one\r\ntwo\r\n");
    { std::ofstream(path.c_str(), std::ios::binary | std::ios::app) << std::string(kLogCap, 'x'); }
    EXPECT_EQ(AppendToLogFile(path, {L"three"}), L"");
    EXPECT_EQ(ReadWholeFile(path), "three\r\n");
    EXPECT_EQ(ReadWholeFile(older).size(), kLogCap + 13);
    EXPECT_NE(AppendToLogFile(L"Q:\\nowhere\\Erase.txt", {L"x"}), L"");
}

TEST(Schedule, ATaskIsRegisteredListedSwitchedOffAndRemoved) {
    const std::wstring file = L"C:\\windows\\system32\\tasks\\Corvane-Sweepmere\\Nightly";
    TaskSpec s = Plan(TaskKind::Daily);
    ASSERT_EQ(RegisterTask(s), L"");
    EXPECT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    auto listed = [](const std::wstring& name) -> std::optional<ScheduledTask> {
        std::vector<ScheduledTask> tasks;
        EXPECT_EQ(ListTasks(tasks), L"");
        for (const ScheduledTask& t : tasks)
            if (t.plan.name == name) return t;
        return std::nullopt;
    };
    std::optional<ScheduledTask> t = listed(L"Nightly");
    ASSERT_TRUE(t);
    EXPECT_EQ(TaskDescription(t->plan), TaskDescription(s));  // its kind, time and categories
    EXPECT_TRUE(t->enabled);
    for (bool on : {false, true}) {
        EXPECT_EQ(EnableTask(L"Nightly", on), L"");
        EXPECT_EQ(listed(L"Nightly")->enabled, on);
    }
    EXPECT_EQ(TaskInWords(listed(L"Nightly")->plan), L"every day at 18:05");

    // Start Now: Wine's scheduler cannot run a task, so sweepmere is started directly; it erases the
    // task's categories and logs them to the log the profile names.
    const wchar_t* typed = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
    ::RegSetKeyValueW(HKEY_CURRENT_USER, typed, L"url1", REG_SZ, L"http://a.example/", 36);
    const std::wstring log = testkit::ScratchFolder(L"task-log") + L"\\task.txt";
    ASSERT_TRUE(KeepLogPath(log));
    bool direct = false;
    void* process = nullptr;
    ASSERT_EQ(StartTask(L"Nightly", &direct, &process), L"");
    ASSERT_TRUE(direct && process);
    EXPECT_EQ(::WaitForSingleObject(process, 60000), WAIT_OBJECT_0);
    ::CloseHandle(process);
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Local AppWizard-Generated Applications\\Application\\Settings", L"Log File");
    HKEY key;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, typed, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_NE(ReadWholeFile(log).find("  internet.typed-urls  1 erased, 0 bytes, 0 stayed\r\n"), std::string::npos) << ReadWholeFile(log);
    EXPECT_NE(ReadWholeFile(log).find("  system.clipboard  "), std::string::npos);

    EXPECT_EQ(RemoveTask(L"Nightly"), L"");
    EXPECT_FALSE(listed(L"Nightly"));
    EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(EnableTask(L"Nightly", true), L"");
}
