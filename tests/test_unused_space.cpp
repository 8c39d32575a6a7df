// Wiping unused space, on the ext2 and NTFS test volumes T: (tests/unused_space_volume.sh writes and
// deletes files with a known text from the Linux side, runs this program and then searches the
// raw image: after a stopped wipe some text is still there, after a whole wipe none, whether the
// engine was called here or through sweepmere.exe).
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ConsoleRun.h"
#include "EraseKit.h"
#include "Handles.h"
#include "TestKit.h"
#include "TestVolume.h"
#include "UnusedSpace.h"
#include "Worker.h"

using namespace testkit;

namespace {

unsigned long long FreeOnT() {
    ULARGE_INTEGER free{};
    ::GetDiskFreeSpaceExW(L"T:\\", &free, nullptr, nullptr);
    return free.QuadPart;
}

constexpr unsigned long long kFewClusters = 8 * 4096;
// After the file-record stage: NTFS's file table grows into the stage's reserve and never shrinks.
constexpr unsigned long long kGrownTable = kFewClusters + (1 << 20);

ConsoleRun Sweep(const std::wstring& args) { return RunConsole(L"\"" + ProgramFolder() + L"sweepmere.exe\" " + args); }

class UnusedSpaceVolume : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(TestVolumeProblem(), L""); }
};
}  // namespace

// Run on its own volume: the driver then finds part of the deleted text still there.
TEST_F(UnusedSpaceVolume, StopAtHalfWayRemovesTheFillerAtOnce) {
    const unsigned long long before = FreeOnT();
    engine::StopToken stop;
    engine::WipeResult r = engine::WipeUnusedSpace(L'T', [&](const engine::WipeStatus& s) {
        if (s.written >= s.freeAtStart / 2) stop.Request();
    }, stop);
    EXPECT_TRUE(r.stopped);
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(r.failure, L"");
    EXPECT_GE(r.bytesWiped, before / 2);
    EXPECT_LT(r.bytesWiped, before);
    EXPECT_FALSE(FileExists(engine::FillerFolder(L'T')));
    EXPECT_LE(before - FreeOnT(), kFewClusters);
}

// Run on its own volume: the driver then finds none of the deleted text.
TEST_F(UnusedSpaceVolume, CommandLineWipesTheDriveAndReportsIt) {
    const unsigned long long before = FreeOnT();
    const std::wstring report = ScratchFolder(L"wipe-report") + L"\\report.json";
    ConsoleRun ran = Sweep(L"/wipe-unused t: /report \"" + report + L"\"");
    EXPECT_EQ(ran.code, 0u) << ran.out << ran.err;
    EXPECT_EQ(ran.err, "");
    EXPECT_LE(before - FreeOnT(), kGrownTable);
    // The line's form: test_cli_args; the report's: the driver checks it against the schema.
    nlohmann::json json = nlohmann::json::parse(ReadWholeFile(report), nullptr, false);
    ASSERT_FALSE(json.is_discarded());
    EXPECT_EQ(json["drives"][0]["complete"], true);
    const unsigned long long wiped = json["drives"][0]["bytesWiped"].get<unsigned long long>();
    EXPECT_GE(wiped, before - before / 100);
    EXPECT_EQ(ran.out.substr(ran.out.rfind("T:  ")).rfind("T:  bytes wiped: " + std::to_string(wiped) + ",", 0), 0u) << ran.out;
}

// Run on a volume large enough for the kill to land in the middle of the fill: the space comes
// back as the process ends, the marked folder goes at the next start.
TEST_F(UnusedSpaceVolume, KilledCommandLineWipeGivesTheSpaceBackAtOnce) {
    const unsigned long long before = FreeOnT();
    std::wstring line = L"\"" + ProgramFolder() + L"sweepmere.exe\" /wipe-unused T:";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi));
    PumpUntil([&] { return FreeOnT() <= before / 2; }, 20000);
    ::TerminateProcess(pi.hProcess, 9);
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    engine::Handle process(pi.hProcess), thread(pi.hThread);
    // The system lets go of a killed process's files as it ends, within seconds.
    EXPECT_TRUE(PumpUntil([&] { return before - FreeOnT() <= kFewClusters; })) << before - FreeOnT();
    EXPECT_FALSE(FileExists(engine::FillerFolder(L'T') + L"\\fill000000.bin"));

    ConsoleRun next = Sweep(L"/list");
    EXPECT_NE(next.err.find("has been removed:\nT:\\Corvane-Sweepmere wipe\n"), std::string::npos) << next.err;
    EXPECT_FALSE(FileExists(engine::FillerFolder(L'T')));
    EXPECT_EQ(Sweep(L"/list").err, "");  // told once
}

// A wipe fills every free cluster, telling its progress; someone holding one filler (a scanner,
// say) keeps its name, and only its name: it is emptied first, the others go, what stayed is said,
// and the folder is found again by its marker; only by its marker.
TEST_F(UnusedSpaceVolume, AWipeFillsEveryFreeClusterAndAHeldFillerKeepsOnlyItsName) {
    const unsigned long long before = FreeOnT();
    HANDLE held = INVALID_HANDLE_VALUE;
    engine::StopToken stop;
    engine::WipeStatus last;
    engine::WipeResult r = engine::WipeUnusedSpace(L'T', [&](const engine::WipeStatus& s) {
        EXPECT_GE(s.written, last.written);
        last = s;
        if (held == INVALID_HANDLE_VALUE)
            held = ::CreateFileW((engine::FillerFolder(L'T') + L"\\fill000000.bin").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    }, stop);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_GE(r.bytesWiped, before - before / 100);  // the file system's own blocks for the fillers take the rest
    EXPECT_EQ(last.freeAtStart, r.freeAtStart);
    EXPECT_GT(last.bytesPerSecond, 0.0);
    EXPECT_FALSE(r.complete);
    EXPECT_NE(r.failure.find(L"fill000000.bin"), std::wstring::npos) << r.failure;
    EXPECT_EQ(r.bytesLeft, 0u);
    EXPECT_EQ(r.freeAfter, FreeOnT());
    EXPECT_LE(before - r.freeAfter, kGrownTable + kFewClusters);  // the folder and its marker stay too
    EXPECT_EQ(EntriesIn(engine::FillerFolder(L'T')), 2u);  // it and the marker
    ::CloseHandle(held);
    EXPECT_EQ(engine::RemoveLeftoverFillers().size(), 1u);
    const std::wstring folder = engine::FillerFolder(L'T');
    EXPECT_FALSE(FileExists(folder));

    // A folder of the wipe's name without its marker is someone else's: never removed, never used.
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(folder + L"\\fill000000.bin", "not a filler", 5000));
    EXPECT_TRUE(engine::RemoveLeftoverFillers().empty());
    EXPECT_TRUE(FileExists(folder + L"\\fill000000.bin"));
    engine::WipeResult refused = engine::WipeUnusedSpace(L'T', nullptr, stop);
    EXPECT_NE(refused.failure.find(L"left alone"), std::wstring::npos) << refused.failure;
    EXPECT_TRUE(FileExists(folder + L"\\fill000000.bin"));
    ::DeleteFileW((folder + L"\\fill000000.bin").c_str());
    ::RemoveDirectoryW(folder.c_str());
}

// What only Windows answers (Wine tells no record size): the decision table. A drive that is not
// there is refused by its name (sweepmere's line and report for it: tests/cli/reports_and_policy.sh).
TEST(UnusedSpaceRules, RecordSizesAndDrivesThatAreNotThere) {
    EXPECT_EQ(engine::WipeRefusal(L'?'), L"?: is not a drive of this computer.");
    // Record size answered, sector size, record size taken: the answer wins, a 4Kn disk is formatted
    // with 4 KiB records, and an answer that is no power of two is none.
    const unsigned records[][3] = {{1024, 512, 1024}, {4096, 4096, 4096}, {1024, 4096, 1024},
                                   {0, 4096, 4096},   {0, 512, 1024},     {1000, 512, 1024}};
    for (const auto& r : records) EXPECT_EQ(engine::RecordBytes(r[0], r[1]), r[2]) << r[0] << " " << r[1];
    // A file that fills the record's free space, shorter for a longer name, and never nothing.
    EXPECT_EQ(engine::RecordFillBytes(1024, 13), 640u);
    EXPECT_EQ(engine::RecordFillBytes(4096, 13), 3712u);
    EXPECT_LT(engine::RecordFillBytes(1024, 40), 640u);
    EXPECT_EQ(engine::RecordFillBytes(256, 13), 1u);
}
