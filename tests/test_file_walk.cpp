// The walk engine on its own: the name and path rules, the guard on a top folder (pure, and on
// this machine), the safe delete steps against links, look-alike names, the
// counts of an erase, and the stop request between any two files.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <functional>

#include "FileWalk.h"
#include "TestKit.h"

using namespace testkit;
using filewalk::Entry;
using filewalk::IsRefusedTopFolder;

namespace {
const std::string kLinks = "C:\\corvane-links";

// The files (not folders) directly inside a folder given in UTF-8, found by their real names.
size_t FilesIn(const std::string& folder) {
    wchar_t wide[MAX_PATH * 2];
    ::MultiByteToWideChar(CP_UTF8, 0, (folder + "\\*").c_str(), -1, wide, MAX_PATH * 2);
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW(wide, &d);
    size_t files = 0;
    if (h == INVALID_HANDLE_VALUE) return files;
    do files += !(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (::FindNextFileW(h, &d));
    ::FindClose(h);
    return files;
}

bool ReadOnly(const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

void ExpectSentinelsIntact() {
    EXPECT_TRUE(ReadOnly(kLinks + "\\sentinel\\keep.txt"));
    EXPECT_TRUE(ReadOnly(kLinks + "\\keep.txt"));
}

// Throws at a given pause: the page's sink leaves a stopped walk the same way.
struct StopAfter : filewalk::WalkSink {
    explicit StopAfter(int n = 1 << 30) : stopAt(n) {}
    void Pause(unsigned) override {
        if (onPause) onPause(pauses);
        if (pauses++ >= stopAt) throw 0;
    }
    void Met(const std::string&) override { ++met; }
    int stopAt, pauses = 0;
    size_t met = 0;
    std::function<void(int)> onPause;
};
}  // namespace

TEST(WalkRules, NamesPathsAndEntries) {
    for (const char* hidden : {"desktop.ini", "index.dat", "olddat", "x.ini"}) EXPECT_FALSE(filewalk::IsListedCacheName(hidden)) << hidden;
    for (const char* shown : {"LOG.DAT", "a.INI", "page.htm", "da"}) EXPECT_TRUE(filewalk::IsListedCacheName(shown)) << shown;
    EXPECT_FALSE(filewalk::IsListedCookieName("index.dat"));
    EXPECT_TRUE(filewalk::IsListedCookieName("user@site.ini"));
    std::string folder = "unchanged";
    EXPECT_FALSE(filewalk::FolderOf("name.txt", folder));
    EXPECT_EQ(folder, "unchanged");
    EXPECT_TRUE(filewalk::FolderOf("C:\\a\\b.txt", folder));
    EXPECT_EQ(folder, "C:\\a");
    for (const char* refused : {"\\", "C:", "cache\\", "\\cache\\", "\\\\\\x"}) EXPECT_FALSE(filewalk::IsWalkable(refused)) << refused;
    const DWORD dir = FILE_ATTRIBUTE_DIRECTORY, link = FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_EQ(filewalk::Classify(dir, "sub"), Entry::Folder);
    EXPECT_EQ(filewalk::Classify(dir, "."), Entry::Skip);
    EXPECT_EQ(filewalk::Classify(dir | link, "junction"), Entry::Skip);
    EXPECT_EQ(filewalk::Classify(FILE_ATTRIBUTE_ARCHIVE | link, "filelink"), Entry::Skip);
    EXPECT_EQ(filewalk::Classify(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, "f"), Entry::File);
    EXPECT_TRUE(filewalk::CountsAsContent(dir | FILE_ATTRIBUTE_HIDDEN, "sub"));
    EXPECT_FALSE(filewalk::CountsAsContent(FILE_ATTRIBUTE_HIDDEN, "h.txt"));
}

TEST(WalkRules, OnlyPlainNamesAreJoinedToAPath) {
    for (const char* plain : {"a.txt", ".profile", "a..b", "x y", "\xef\xbc\x8e\xef\xbc\x8e", "...a"})
        EXPECT_TRUE(filewalk::IsPlainName(plain)) << plain;
    for (const char* odd : {"", ".", "..", "...", ". .", "  ", "..\\keep.txt", "a/b", "c:x", "a*", "q?", "\"", "<", ">",
                            "|", "tab\there", "\x7f"})
        EXPECT_FALSE(filewalk::IsPlainName(odd)) << odd;
    EXPECT_TRUE(filewalk::IsPlainPath("C:\\cache\\a.txt"));
    EXPECT_TRUE(filewalk::IsPlainPath("\\\\srv\\share\\a.txt"));
    for (const char* odd : {"C:\\cache\\..\\keep.txt", "C:\\cache\\.\\a", "C:\\cache\\\\a", "C:\\a\\", "cache\\a",
                            "\\\\?\\C:\\a", "\\\\.\\pipe\\x", "C:\\a/b"})
        EXPECT_FALSE(filewalk::IsPlainPath(odd)) << odd;
}

TEST(TopFolderGuard, RefusesRootsKnownFoldersAndEverythingAboveThem) {
    const std::vector<std::string> known{"C:\\Windows", "C:\\Windows\\system32", "C:\\Program Files",
                                         "C:\\users\\anna", "\\\\srv\\home\\anna"};
    for (const char* refused : {"C:\\", "c:", "C:\\.", "C:\\x\\..\\..", "C:\\x\\..", "C:/", "D:\\", "\\\\srv\\home",
                                "\\\\srv\\home\\", "\\\\srv", "\\\\?\\C:\\", "\\\\?\\UNC\\srv\\home", "\\\\.\\C:\\temp",
                                "C:\\windows", "C:\\WINDOWS\\System32\\", "C:\\Windows.", "C:\\Windows \\", "C:\\PROGRAM FILES",
                                "C:\\users", "C:\\Users\\Anna", "C:\\users\\anna\\x\\..", "C:\\users\\.\\anna",
                                "\\\\SRV\\HOME\\anna", "cache", "\\cache", "C:cache", "C:\\a\\...\\b", ""})
        EXPECT_TRUE(IsRefusedTopFolder(refused, known)) << refused;
    for (const char* allowed : {"C:\\cache", "C:\\users\\anna\\Cookies", "C:\\users\\annabel", "C:\\Windows2",
                                "C:\\Program Files\\x\\..\\..\\cache", "\\\\?\\C:\\users\\anna\\cache", "D:\\x",
                                "\\\\srv\\home\\anna\\cache", "\\\\srv\\other\\cache", "C:\\Windows\\Temp"})
        EXPECT_FALSE(IsRefusedTopFolder(allowed, known)) << allowed;
}

TEST(TopFolderGuard, RefusesThisMachinesFoldersAndDeletesNothingInThem) {
    char windows[MAX_PATH], profile[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, 0, profile)));
    for (std::string f : {std::string("C:\\"), std::string(windows), std::string(profile), std::string(profile) + "\\..",
                          std::string("C:\\corvane-scratch\\x\\..\\..")})
        EXPECT_TRUE(IsRefusedTopFolder(f)) << f;
    EXPECT_FALSE(IsRefusedTopFolder(ScratchFolder("guard-allowed")));

    std::string sentinel = std::string(profile) + "\\corvane-sentinel.txt";
    WriteFile(sentinel);
    EraseResult r = filewalk::EraseFilesIn(profile);
    EXPECT_TRUE(FileExists(sentinel));
    EXPECT_EQ(r.failed, 1u);
    EXPECT_NE(r.firstReason.find("protected"), std::string::npos) << r.firstReason;
    EXPECT_FALSE(filewalk::DeleteInside(sentinel));
    EXPECT_FALSE(filewalk::DeleteInside(std::string(profile) + "\\sub\\..\\corvane-sentinel.txt"));
    EXPECT_TRUE(FileExists(sentinel));
    std::vector<filewalk::FolderEntry> entries;
    EXPECT_FALSE(filewalk::ListEntries(profile, entries));
    EXPECT_TRUE(entries.empty());
}

TEST(SafeDelete, LeavesLinksAloneAndActsOnLookAlikeNamesByTheirRealName) {
    ASSERT_TRUE(FileExists(kLinks + "\\walk\\filelink")) << "run tests/make_links.sh first";
    WriteFile(kLinks + "\\walk\\own.txt");
    EraseResult r = filewalk::EraseFilesIn(kLinks + "\\walk");
    EXPECT_EQ(r.erased, 1u);
    EXPECT_EQ(r.failed, 2u);  // the file link and the folder link stayed
    EXPECT_FALSE(FileExists(kLinks + "\\walk\\own.txt"));
    EXPECT_TRUE(FileExists(kLinks + "\\walk\\filelink"));
    EXPECT_FALSE(filewalk::DeleteInside(kLinks + "\\walk\\filelink"));
    EXPECT_FALSE(filewalk::DeleteInside(kLinks + "\\walk\\..\\keep.txt"));
    ExpectSentinelsIntact();

    // Names whose ANSI forms are "..\keep.txt" and "..": a page never gets them as entries, the
    // erase deletes the file by its real name, inside.
    std::string odd = kLinks + "\\walk-odd";
    ASSERT_EQ(FilesIn(odd), 1u);
    std::vector<filewalk::FolderEntry> entries;
    ASSERT_TRUE(filewalk::ListEntries(odd, entries));
    ASSERT_EQ(entries.size(), 2u);
    for (const filewalk::FolderEntry& e : entries) EXPECT_EQ(e.kind, Entry::Skip) << e.name;
    r = filewalk::EraseFilesIn(odd);
    EXPECT_EQ(r.erased, 1u);
    EXPECT_EQ(FilesIn(odd), 0u);
    EXPECT_EQ(FilesIn(odd + "\\\xef\xbc\x8e\xef\xbc\x8e"), 1u);
    ExpectSentinelsIntact();
}

TEST(Walk, NeverEntersAFolderSwappedForALinkAfterItWasFound) {
    const std::string swap = kLinks + "\\swap";
    ASSERT_TRUE(FileExists(swap + "\\real\\inner.txt")) << "made by tests/make_links.sh";
    StopAfter sink;
    // Pauses: the top, its first pass (".", "..", "real", "spare"), then the second pass, which
    // has read the folder: the swap happens before it enters "real".
    sink.onPause = [&](int n) {
        if (n != 5) return;
        WriteFile(kLinks + "\\swap-now");
        for (int i = 0; i < 300 && !FileExists(kLinks + "\\swap-done"); ++i) ::Sleep(10);
    };
    filewalk::FolderWalk walk(true, sink);
    walk.Walk(swap + "\\");
    ASSERT_TRUE(FileExists(kLinks + "\\swap-done")) << "the Linux side did not swap";
    EXPECT_TRUE(::GetFileAttributesA((swap + "\\real").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(walk.Result().erased, 0u);
    EXPECT_TRUE(FileExists(swap + "\\moved\\inner.txt"));
    ExpectSentinelsIntact();
}

TEST(SafeDelete, ErasesFilesThenTheWholeTreeWithLongPathsAndCountsWhatWentAndWhatStayed) {
    std::string top = ScratchFolder("walk-erase");
    WriteFile(top + "\\a.txt", "12345");
    WriteFile(top + "\\ro.txt", "123");
    ::SetFileAttributesA((top + "\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    std::wstring deep = L"\\\\?\\" + std::wstring(top.begin(), top.end());
    for (int i = 0; i < 3; ++i) {
        deep += L"\\" + std::wstring(100, L'a' + i);
        ::CreateDirectoryW(deep.c_str(), nullptr);
    }
    HANDLE h = ::CreateFileW((deep + L"\\long.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_READONLY, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ::CloseHandle(h);
    WriteFile(top + "\\busy.txt");
    HANDLE busy = ::CreateFileA((top + "\\busy.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);

    EraseResult r = filewalk::EraseFilesIn(top + "\\");
    EXPECT_EQ(r.erased, 2u);
    EXPECT_EQ(r.bytes, 8u);
    EXPECT_EQ(r.failed, 1u);
    EXPECT_EQ(FilesIn(top), 1u);
    EXPECT_NE(::GetFileAttributesW((deep + L"\\long.txt").c_str()), INVALID_FILE_ATTRIBUTES);  // not a walk
    EXPECT_TRUE(filewalk::EraseFilesIn(top + "\\missing").Complete());

    StopAfter sink;
    filewalk::FolderWalk walk(true, sink);
    walk.Walk(top + "\\");
    ::CloseHandle(busy);
    EXPECT_EQ(::GetFileAttributesW((deep + L"\\long.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(walk.Result().erased, 1u);
    EXPECT_EQ(walk.Result().failed, 1u);  // tried twice, counted once
    EXPECT_NE(walk.Result().firstReason.find("busy.txt"), std::string::npos) << walk.Result().firstReason;
    EXPECT_TRUE(FileExists(top + "\\busy.txt"));
}

TEST(Walk, LooksAtTheStopRequestBetweenAnyTwoFilesInBothPasses) {
    std::string top = ScratchFolder("walk-stop");
    for (int i = 0; i < 200; ++i) WriteFile(top + "\\f" + std::to_string(i) + ".txt");
    // The folder and its first pass take 203 pauses: 223 stops 20 files into the second pass.
    const struct { bool erase; int stopAt; size_t maxMet; } cases[] = {{false, 223, 21}, {false, 20, 0}, {true, 20, 0}};
    for (auto c : cases) {
        StopAfter sink(c.stopAt);
        filewalk::FolderWalk walk(c.erase, sink);
        EXPECT_ANY_THROW(walk.Walk(top + "\\"));
        EXPECT_LE(walk.Result().erased, 20u);
        EXPECT_LE(sink.met, c.maxMet);
    }
    EXPECT_GE(FilesIn(top), 180u);
}
