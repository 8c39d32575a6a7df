// Overwriting before deleting, on the ext2 and NTFS test volumes T: (tests/overwrite_volume.sh mounts them,
// runs this program and then searches the raw image: no "CORVANE-GONE" text may be left, the
// control's "CORVANE-KEPT" text must be). What cannot be overwritten is deleted and says why.
#include <gtest/gtest.h>

#include "Categories.h"
#include "ConsoleRun.h"
#include "Report.h"
#include "EraseKit.h"
#include "Overwrite.h"
#include "StreamInfo.h"
#include "TestKit.h"
#include "Text.h"
#include "Walk.h"
#include "TestVolume.h"
#include "Worker.h"

using namespace testkit;
using engine::Disposal;
using engine::Plan;

namespace {
const std::wstring kRoot = L"T:\\overwrite";

// Opens, overwrites and closes (the file goes as its handle closes); the note comes back.
Disposal Overwrite(const std::wstring& path, std::wstring& note, unsigned passes = 1,
                   const engine::StopToken* stop = nullptr) {
    HANDLE h = ::CreateFileW(path.c_str(), engine::kOverwriteAccess, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << ::GetLastError();
    if (h == INVALID_HANDLE_VALUE) return Disposal::Stayed;
    Disposal d = engine::OverwriteAndDelete(h, path, passes, note, stop);
    ::CloseHandle(h);
    return d;
}

// Points the Cache at a folder while it lives: both keys, as Wine rewrites "Shell Folders" from
// "User Shell Folders"; the old values come back as they were (an expandable one stays so).
class CacheOn {
public:
    explicit CacheOn(const std::wstring& folder) {
        for (int i = 0; i < 2; ++i) {
            DWORD size = sizeof m_old[i];
            if (::RegGetValueW(HKEY_CURRENT_USER, kKeys[i], L"Cache", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                               &m_type[i], m_old[i], &size) != ERROR_SUCCESS)
                m_type[i] = REG_NONE;
            RegSetString(HKEY_CURRENT_USER, kKeys[i], L"Cache", folder);
        }
    }
    ~CacheOn() {
        for (int i = 0; i < 2; ++i)
            if (m_type[i] != REG_NONE)
                ::RegSetKeyValueW(HKEY_CURRENT_USER, kKeys[i], L"Cache", m_type[i], m_old[i],
                                  static_cast<DWORD>((wcslen(m_old[i]) + 1) * sizeof(wchar_t)));
    }

private:
    const wchar_t* const kKeys[2] = {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"};
    DWORD m_type[2] = {};
    wchar_t m_old[2][MAX_PATH] = {};
};

class OverwriteVolume : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TestVolumeProblem(), L"");
        ::CreateDirectoryW(kRoot.c_str(), nullptr);
    }
};
}  // namespace

TEST(OverwritePlan, DecisionTable) {
    struct Row {
        unsigned long attributes, links;
        Plan plan;
    } rows[] = {
        {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, 1, Plan::Overwrite},
        {FILE_ATTRIBUTE_ARCHIVE, 0, Plan::Overwrite},
        {FILE_ATTRIBUTE_COMPRESSED, 3, Plan::DeleteOnlyLinked},
        {FILE_ATTRIBUTE_SPARSE_FILE | FILE_ATTRIBUTE_ARCHIVE, 1, Plan::DeleteOnlyCompressed},
        {FILE_ATTRIBUTE_ENCRYPTED, 1, Plan::DeleteOnlyCompressed},
    };
    for (const Row& r : rows) EXPECT_EQ(engine::PlanFor(r.attributes, r.links), r.plan) << std::hex << r.attributes << " " << r.links;

    // Rounded up to the cluster where the file holds the cluster; never grown beyond its allocation.
    EXPECT_EQ(engine::OverwriteLength(5000, 8192, 4096), 8192u);
    EXPECT_EQ(engine::OverwriteLength(8192, 8192, 4096), 8192u);
    EXPECT_EQ(engine::OverwriteLength(0, 0, 4096), 0u);
    // Inside its file record (Windows counts 8-byte steps, ntfs-3g 512-byte ones): never grown out of it.
    EXPECT_EQ(engine::OverwriteLength(300, 304, 4096), 300u);
    EXPECT_EQ(engine::OverwriteLength(544, 1024, 4096), 544u);
    EXPECT_EQ(engine::OverwriteLength(5000, 65536, 4096), 8192u);
}

// What only Windows shows (Wine keeps no named streams, tells of no shadow copies and answers no
// storage query): the decision tables.
TEST(OverwritePlan, WindowsOnlyDecisionTables) {
    // A stream list as the system answers it: the main stream, two named ones, one that could
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

    struct Row {
        int seekPenalty, trim;
        bool removable, solid;
    } rows[] = {{0, -1, false, true}, {1, 1, false, false}, {-1, 1, false, true}, {-1, -1, false, false},
                {-1, -1, true, true}, {1, -1, true, false}, {-1, 0, true, false}};
    for (const Row& r : rows)
        EXPECT_EQ(engine::SolidState(r.seekPenalty, r.trim, r.removable), r.solid) << r.seekPenalty << r.trim << r.removable;

    EXPECT_EQ(engine::ShadowCopiesNote(-1, L"C:"), L"");
    EXPECT_NE(engine::ShadowCopiesNote(2, L"C:").find(L"C: has shadow copies"), std::wstring::npos);
}

TEST_F(OverwriteVolume, KnownTextIsOverwrittenAndTheNameGoes) {
    const std::wstring folder = kRoot + L"\\text";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    // Below a cluster, filling most of a file record, across clusters, across the writes' chunk;
    // three passes on one. The name goes with the content (the driver finds neither).
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
}

// T:\linked\a.txt and b.txt are one file with two names, made from the Linux side.
TEST_F(OverwriteVolume, AFileWithTwoNamesIsOnlyDeletedAndTheOtherKeepsItsContent) {
    std::wstring note;
    EXPECT_EQ(Overwrite(L"T:\\linked\\a.txt", note), Disposal::DeletedOnly);
    EXPECT_NE(note.find(L"more than one name"), std::wstring::npos) << note;
    EXPECT_FALSE(FileExists(L"T:\\linked\\a.txt"));
    EXPECT_EQ(ReadWholeFile(L"T:\\linked\\b.txt").rfind("CORVANE-KEPT-LINKED", 0), 0u);
}

TEST_F(OverwriteVolume, AStoppedOverwriteStillDeletesAndSaysSo) {
    const std::wstring path = kRoot + L"\\stopped.txt";
    ASSERT_TRUE(WriteTextFile(path, "stopped before the first write", 3 << 20));
    engine::StopToken stop;
    stop.Request();
    std::wstring note;
    EXPECT_EQ(Overwrite(path, note, 1, &stop), Disposal::DeletedOnly);
    EXPECT_NE(note.find(L"stopped"), std::wstring::npos) << note;
    EXPECT_FALSE(FileExists(path));
    // Wine cannot tell whether a volume is a solid-state drive, nor of shadow copies: nothing is said then.
    EXPECT_EQ(engine::SolidStateNote(kRoot), L"");
    EXPECT_EQ(engine::ShadowCopiesNote(kRoot), L"");
}

// Through the one walk, as every erasing category goes: overwritten, read-only and beyond MAX_PATH
// too, and counted.
TEST_F(OverwriteVolume, TheWalkOverwritesWhatItErases) {
    const std::wstring folder = kRoot + L"\\walked";
    std::wstring deep = L"\\\\?\\" + folder;
    for (wchar_t c : {L'a', L'b', L'c', L'd'}) {
        ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr)) << ::GetLastError();
        deep += L"\\" + std::wstring(c == L'a' ? 3 : 100, c);
    }
    ASSERT_TRUE(::CreateDirectoryW(deep.c_str(), nullptr));
    ASSERT_GT(deep.size(), 4u + MAX_PATH);
    ASSERT_TRUE(WriteTextFile(folder + L"\\a.txt", "CORVANE-GONE-WALKED", 7000));
    ASSERT_TRUE(WriteTextFile(deep + L"\\журнал.txt", "CORVANE-GONE-WALKED", 3000));
    ::SetFileAttributesW((folder + L"\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    engine::Options options;
    options.overwrite = true;
    engine::Result r = engine::EraseInside(folder, options);
    EXPECT_EQ(r.erased, 2u);
    EXPECT_EQ(r.overwritten, 2u);
    EXPECT_EQ(r.failed, 0u) << (r.reasons.empty() ? L"" : r.reasons[0]);
    EXPECT_EQ(EntriesIn(deep), 0u);
}

// sweepmere /erase internet.cache /overwrite on a cache on T:; the same without /overwrite is the
// control whose text the driver still finds.
TEST_F(OverwriteVolume, TheCommandLineOverwritesTheCacheOnlyWhenAsked) {
    const std::wstring sweep = L"\"" + ProgramFolder() + L"sweepmere.exe\" /erase internet.cache";
    for (bool overwrite : {true, false}) {
        const std::wstring cache = kRoot + (overwrite ? L"\\cache" : L"\\cache-plain");
        ASSERT_TRUE(::CreateDirectoryW(cache.c_str(), nullptr));
        ASSERT_TRUE(::CreateDirectoryW((cache + L"\\sub").c_str(), nullptr));
        const char* text = overwrite ? "CORVANE-GONE-CLI" : "CORVANE-KEPT-CLI";
        ASSERT_TRUE(WriteTextFile(cache + L"\\a.htm", text, 9000));
        ASSERT_TRUE(WriteTextFile(cache + L"\\sub\\b.gif", text, 70000));
        // Small files live inside their file records on NTFS, and their names in the folder's index.
        const std::wstring name = overwrite ? L"CORVANE-GONE-NAME" : L"CORVANE-KEPT-NAME";
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(WriteTextFile(cache + L"\\" + name + std::to_wstring(i) + L".htm", text, 300));
        CacheOn on(cache);
        ConsoleRun ran = RunConsole(sweep + (overwrite ? L" /overwrite" : L""));
        EXPECT_EQ(ran.code, 0u) << ran.out << ran.err;
        EXPECT_EQ(ran.out.rfind("internet.cache  5 erased, 79900 bytes, 0 stayed", 0), 0u) << ran.out;
        // Where an erased name may stay, the folder is named.
        EXPECT_EQ(ran.out.find("The index of " + engine::Utf8(cache) + " may still hold erased names") != std::string::npos,
                  overwrite) << ran.out;
        EXPECT_EQ(EntriesIn(cache + L"\\sub"), 0u);
    }
}

// The Recycle Bin's deleted files and their records go through the overwriting delete before the
// shell empties the rest; the history, erased by the system's own call, says it was not overwritten.
TEST_F(OverwriteVolume, TheBinIsOverwrittenAndWhatCannotBeSaysSo) {
    const std::wstring bin = L"T:\\$Recycle.Bin\\" + engine::UserSidText();
    ASSERT_TRUE(::CreateDirectoryW(L"T:\\$Recycle.Bin", nullptr));
    ASSERT_TRUE(::CreateDirectoryW(bin.c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(bin + L"\\$RK3J2AB.txt", "CORVANE-GONE-BIN", 6000));
    ASSERT_TRUE(WriteTextFile(bin + L"\\$IK3J2AB.txt", "CORVANE-GONE-BIN", 544));
    ASSERT_TRUE(WriteTextFile(bin + L"\\desktop.ini", "[.ShellClassInfo]", 100));
    engine::Options options;
    options.overwrite = true;
    engine::Result r = engine::RunErase(*engine::FindCategory("system.recycle-bin"), options);
    EXPECT_EQ(r.overwritten, 2u);
    EXPECT_EQ(EntriesIn(bin), 1u);  // the bin's own desktop.ini stays

    engine::Result history;
    history.erased = 1;
    history.withoutOverwriting = true;
    EXPECT_EQ(engine::ReportLine({L"History", history, 5}), L"History (5 ms): 1 item erased; deleted without overwriting");
}
