// Overwriting before deleting, on the ext2 and NTFS test volumes T: (tests/overwrite_volume.sh mounts them,
// runs this program and then searches the raw image: no "CORVANE-GONE" text may be left, the
// control's "CORVANE-KEPT" text must be). What cannot be overwritten is deleted and says why.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <tuple>

#include "Categories.h"
#include "ConsoleRun.h"
#include "EraseKit.h"
#include "Handles.h"
#include "Overwrite.h"
#include "Report.h"
#include "ShellKit.h"
#include "StreamInfo.h"
#include "TestKit.h"
#include "TestVolume.h"
#include "Text.h"
#include "Worker.h"

using namespace testkit;
using engine::Disposal;
using engine::Plan;

namespace {
const std::wstring kRoot = L"T:\\overwrite";

// Opens, overwrites and closes (the file goes as its handle closes); the note comes back.
Disposal Overwrite(const std::wstring& path, std::wstring& note, unsigned passes = 1,
                   const engine::StopToken* stop = nullptr) {
    engine::Handle h(::CreateFileW(path.c_str(), engine::kOverwriteAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    EXPECT_TRUE(h) << ::GetLastError();
    return h ? engine::OverwriteAndDelete(h.Get(), path, passes, note, stop) : Disposal::Stayed;
}

class OverwriteVolume : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TestVolumeProblem(), L"");
        ::CreateDirectoryW(kRoot.c_str(), nullptr);
    }
};
}  // namespace

TEST(OverwritePlan, DecisionTables) {
    // Attributes, names, plan.
    const std::tuple<unsigned long, unsigned long, Plan> plans[] = {
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 1, Plan::Overwrite},
        {FILE_ATTRIBUTE_ARCHIVE, 0, Plan::Overwrite},
        {FILE_ATTRIBUTE_COMPRESSED, 3, Plan::DeleteOnlyLinked},
        {FILE_ATTRIBUTE_SPARSE_FILE | FILE_ATTRIBUTE_ARCHIVE, 1, Plan::DeleteOnlyCompressed},
        {FILE_ATTRIBUTE_ENCRYPTED, 1, Plan::DeleteOnlyCompressed},
    };
    for (const auto& [attributes, links, plan] : plans) EXPECT_EQ(engine::PlanFor(attributes, links), plan) << std::hex << attributes << " " << links;

    // Size, allocation, bytes written: rounded up to the cluster where the file holds the cluster,
    // never grown beyond its allocation; inside its file record (Windows counts 8-byte steps, ntfs-3g
    // 512-byte ones), never grown out of it.
    const unsigned long long lengths[][3] = {{5000, 8192, 8192}, {8192, 8192, 8192}, {0, 0, 0},
                                             {300, 304, 300},    {544, 1024, 544},   {5000, 65536, 8192}};
    for (const auto& l : lengths) EXPECT_EQ(engine::OverwriteLength(l[0], l[1], 4096), l[2]) << l[0] << " " << l[1];

    // What only Windows shows (Wine keeps no named streams, tells of no shadow copies and answers
    // no storage query). A stream list as the system answers it: the main stream, two named ones, one that could
    // reach beyond its file, and an entry that runs past the answer's end.
    std::vector<unsigned char> answer;
    auto entry = [&](const std::wstring& name, bool last) {
        const size_t at = answer.size(), bytes = name.size() * 2, next = last ? 0 : (24 + bytes + 7) / 8 * 8;
        answer.resize(at + (last ? 24 + bytes : next));
        const uint32_t head[2] = {static_cast<uint32_t>(next), static_cast<uint32_t>(bytes)};
        memcpy(&answer[at], head, sizeof head);
        for (size_t i = 0; i < name.size(); ++i) answer[at + 24 + 2 * i] = static_cast<unsigned char>(name[i]);
    };
    entry(L"::$DATA", false);
    entry(L":secret:$DATA", false);
    entry(L":..\\x:$DATA", false);
    entry(L":Zone.Identifier:$DATA", true);
    EXPECT_EQ(engine::NamedStreams(answer.data(), answer.size()),
              (std::vector<std::wstring>{L":secret:$DATA", L":Zone.Identifier:$DATA"}));
    EXPECT_EQ(engine::NamedStreams(answer.data(), answer.size() - 2).size(), 1u);

    // Seek penalty, trim (-1: not answered), removable, solid state.
    const std::tuple<int, int, bool, bool> drives[] = {{0, -1, false, true},  {1, 1, false, false}, {-1, 1, false, true},
                                                       {-1, -1, false, false}, {-1, -1, true, true}, {1, -1, true, false},
                                                       {-1, 0, true, false}};
    for (const auto& [seekPenalty, trim, removable, solid] : drives)
        EXPECT_EQ(engine::SolidState(seekPenalty, trim, removable), solid) << seekPenalty << trim << removable;

    EXPECT_EQ(engine::ShadowCopiesNote(-1, L"C:"), L"");
    EXPECT_NE(engine::ShadowCopiesNote(2, L"C:").find(L"C: has shadow copies"), std::wstring::npos);
}

// One file at a time: known text is overwritten and its name goes with it (the driver finds
// neither); a file with two names is only deleted; a stopped overwrite still deletes. Each says why.
TEST_F(OverwriteVolume, EachFileIsOverwrittenOrOnlyDeletedAndSaysWhy) {
    const std::wstring folder = kRoot + L"\\text";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    // Below a cluster, filling most of a file record, across clusters, across the writes' chunk;
    // three passes on one.
    const size_t sizes[] = {100, 544, 5000, 1536 * 1024, 20000};
    for (size_t i = 0; i < 5; ++i) {
        const std::wstring path = folder + L"\\file" + std::to_wstring(i) + L".txt";
        ASSERT_TRUE(WriteTextFile(path, "CORVANE-GONE-TEXT", sizes[i]));
        std::wstring note = L"stale";
        EXPECT_EQ(Overwrite(path, note, i == 4 ? 3 : 1), Disposal::Overwritten);
        EXPECT_EQ(note, L"");
        EXPECT_EQ(EntriesIn(folder), 0u);
    }
    // The control: a plain delete leaves its text in the free blocks.
    ASSERT_TRUE(WriteTextFile(folder + L"\\control.txt", "CORVANE-KEPT-CONTROL", 5000));
    EXPECT_TRUE(::DeleteFileW((folder + L"\\control.txt").c_str()));

    // T:\linked\a.txt and b.txt are one file with two names, made from the Linux side.
    std::wstring note;
    EXPECT_EQ(Overwrite(L"T:\\linked\\a.txt", note), Disposal::DeletedOnly);
    EXPECT_NE(note.find(L"more than one name"), std::wstring::npos) << note;
    EXPECT_FALSE(FileExists(L"T:\\linked\\a.txt"));
    EXPECT_EQ(ReadWholeFile(L"T:\\linked\\b.txt").rfind("CORVANE-KEPT-LINKED", 0), 0u);

    const std::wstring stopped = kRoot + L"\\stopped.txt";
    ASSERT_TRUE(WriteTextFile(stopped, "stopped before the first write", 3 << 20));
    engine::StopToken stop;
    stop.Request();
    EXPECT_EQ(Overwrite(stopped, note, 1, &stop), Disposal::DeletedOnly);
    EXPECT_NE(note.find(L"stopped"), std::wstring::npos) << note;
    EXPECT_FALSE(FileExists(stopped));
    // Wine cannot tell whether a volume is a solid-state drive, nor of shadow copies: nothing is said then.
    EXPECT_EQ(engine::SolidStateNote(kRoot), L"");
    EXPECT_EQ(engine::ShadowCopiesNote(kRoot), L"");
}

// sweepmere /erase internet.cache /overwrite on a cache on T:, through the one walk as every erasing
// category goes: read-only files and those beyond MAX_PATH too, each counted in the report (the
// driver's search alone may miss one whose freed blocks the control's files take). The same without
// /overwrite is the control whose text the driver still finds.
TEST_F(OverwriteVolume, TheCommandLineOverwritesTheCacheOnlyWhenAsked) {
    const std::wstring report = ScratchFolder(L"overwrite-report") + L"\\report.json";
    const std::wstring sweep = L"\"" + ProgramFolder() + L"sweepmere.exe\" /erase internet.cache /report \"" + report + L"\"";
    for (bool overwrite : {true, false}) {
        const std::wstring cache = kRoot + (overwrite ? L"\\cache" : L"\\cache-plain");
        ASSERT_TRUE(::CreateDirectoryW(cache.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW((cache + L"\\sub").c_str(), nullptr));
        std::wstring deep = L"\\\\?\\" + cache;
        for (wchar_t c : {L'a', L'b', L'c', L'd'}) {
            deep += L"\\" + std::wstring(c == L'a' ? 3 : 100, c);
            ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr)) << ::GetLastError();
        }
        ASSERT_GT(deep.size(), 4u + MAX_PATH);
        const char* text = overwrite ? "CORVANE-GONE-CLI" : "CORVANE-KEPT-CLI";
        ASSERT_TRUE(WriteTextFile(deep + L"\\журнал.txt", text, 3000));
        ASSERT_TRUE(WriteTextFile(cache + L"\\a.htm", text, 9000));
        ::SetFileAttributesW((cache + L"\\a.htm").c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(WriteTextFile(cache + L"\\sub\\b.gif", text, 70000));
        // Small files live inside their file records on NTFS, and their names in the folder's index.
        const std::wstring name = overwrite ? L"CORVANE-GONE-NAME" : L"CORVANE-KEPT-NAME";
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(WriteTextFile(cache + L"\\" + name + std::to_wstring(i) + L".htm", text, 300));
        // Both keys: Wine rewrites "Shell Folders" from "User Shell Folders".
        ScopedShellFolder userCache(L"Cache", cache);
        PointCacheAt(cache);
        ConsoleRun ran = RunConsole(sweep + (overwrite ? L" /overwrite" : L""));
        EXPECT_EQ(ran.code, 0u) << ran.out << ran.err;
        EXPECT_EQ(ran.out.rfind("internet.cache  6 erased, 82900 bytes, 0 stayed", 0), 0u) << ran.out;
        if (overwrite) {
            EXPECT_EQ(nlohmann::json::parse(ReadWholeFile(report), nullptr, false)["categories"][0]["overwritten"], 6);
        }
        // Where an erased name may stay, the folder is named.
        EXPECT_EQ(ran.out.find("The index of " + engine::Utf8(cache) + " may still hold erased names") != std::string::npos,
                  overwrite) << ran.out;
        EXPECT_EQ(EntriesIn(cache + L"\\sub"), 0u);
        EXPECT_EQ(EntriesIn(deep), 0u);
    }
    PointCacheAt(SpecialFolder(CSIDL_INTERNET_CACHE));  // as Wine makes it from the value put back
}

// The Recycle Bin's deleted files and their records go through the overwriting delete before the
// shell empties the rest; the history, erased by the system's own call, says it was not overwritten.
TEST_F(OverwriteVolume, TheBinIsOverwrittenAndWhatCannotBeSaysSo) {
    const std::wstring bin = L"T:\\$Recycle.Bin\\" + engine::UserSidText();
    ASSERT_EQ(::SHCreateDirectoryExW(nullptr, bin.c_str(), nullptr), ERROR_SUCCESS);
    ASSERT_TRUE(WriteTextFile(bin + L"\\$RK3J2AB.txt", "CORVANE-GONE-BIN", 6000));
    ASSERT_TRUE(WriteTextFile(bin + L"\\$IK3J2AB.txt", "CORVANE-GONE-BIN", 544));
    ASSERT_TRUE(WriteTextFile(bin + L"\\desktop.ini", "[.ShellClassInfo]", 100));
    engine::Options options;
    options.overwrite = true;
    engine::Result r = engine::RunErase(*engine::FindCategory("system.recycle-bin"), options);
    EXPECT_EQ(r.overwritten, 2u);
    EXPECT_EQ(EntriesIn(bin), 1u);  // the bin's own desktop.ini stays

    const engine::Result history{1, 0, 0, 0, 0, true, {}, {}};
    EXPECT_EQ(engine::ReportLine({L"History", history, 5}), L"History (5 ms): 1 item erased; deleted without overwriting");
}
