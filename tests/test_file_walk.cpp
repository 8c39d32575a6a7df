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
const std::wstring kLinks = L"C:\\corvane-links";

// The files (not folders) directly inside a folder given in UTF-8, found by their real names.
size_t FilesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW((folder + L"\\*").c_str(), &d);
    size_t files = 0;
    if (h == INVALID_HANDLE_VALUE) return files;
    do files += !(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (::FindNextFileW(h, &d));
    ::FindClose(h);
    return files;
}

bool ReadOnly(const std::wstring& path) {
    DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

void ExpectSentinelsIntact() {
    EXPECT_TRUE(ReadOnly(kLinks + L"\\sentinel\\keep.txt"));
    EXPECT_TRUE(ReadOnly(kLinks + L"\\keep.txt"));
}

// Throws at a given pause: the page's sink leaves a stopped walk the same way.
struct StopAfter : filewalk::WalkSink {
    explicit StopAfter(int n = 1 << 30) : stopAt(n) {}
    void Pause(unsigned) override {
        if (onPause) onPause(pauses);
        if (pauses++ >= stopAt) throw 0;
    }
    void Met(const std::wstring&) override { ++met; }
    int stopAt, pauses = 0;
    size_t met = 0;
    std::function<void(int)> onPause;
};
}  // namespace

TEST(WalkRules, NamesPathsAndEntries) {
    for (const wchar_t* hidden : {L"desktop.ini", L"index.dat", L"olddat", L"x.ini"}) EXPECT_FALSE(filewalk::IsListedCacheName(hidden)) << hidden;
    for (const wchar_t* shown : {L"LOG.DAT", L"a.INI", L"page.htm", L"da"}) EXPECT_TRUE(filewalk::IsListedCacheName(shown)) << shown;
    EXPECT_FALSE(filewalk::IsListedCookieName(L"index.dat"));
    EXPECT_TRUE(filewalk::IsListedCookieName(L"user@site.ini"));
    std::wstring folder = L"unchanged";
    EXPECT_FALSE(filewalk::FolderOf(L"name.txt", folder));
    EXPECT_EQ(folder, L"unchanged");
    EXPECT_TRUE(filewalk::FolderOf(L"C:\\a\\b.txt", folder));
    EXPECT_EQ(folder, L"C:\\a");
    for (const wchar_t* refused : {L"\\", L"C:", L"cache\\", L"\\cache\\", L"\\\\\\x"}) EXPECT_FALSE(filewalk::IsWalkable(refused)) << refused;
    const DWORD dir = FILE_ATTRIBUTE_DIRECTORY, link = FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_EQ(filewalk::Classify(dir, L"sub"), Entry::Folder);
    EXPECT_EQ(filewalk::Classify(dir, L"."), Entry::Skip);
    EXPECT_EQ(filewalk::Classify(dir | link, L"junction"), Entry::Skip);
    EXPECT_EQ(filewalk::Classify(FILE_ATTRIBUTE_ARCHIVE | link, L"filelink"), Entry::Skip);
    EXPECT_EQ(filewalk::Classify(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, L"f"), Entry::File);
    EXPECT_TRUE(filewalk::CountsAsContent(dir | FILE_ATTRIBUTE_HIDDEN, L"sub"));
    EXPECT_FALSE(filewalk::CountsAsContent(FILE_ATTRIBUTE_HIDDEN, L"h.txt"));
}

TEST(WalkRules, OnlyPlainNamesAreJoinedToAPath) {
    for (const wchar_t* plain : {L"a.txt", L".profile", L"a..b", L"x y", L"\uFF0E\uFF0E", L"...a"})
        EXPECT_TRUE(filewalk::IsPlainName(plain)) << plain;
    for (const wchar_t* odd : {L"", L".", L"..", L"...", L". .", L"  ", L"..\\keep.txt", L"a/b", L"c:x", L"a*", L"q?", L"\"", L"<", L">",
                            L"|", L"tab\there", L"\x7f"})
        EXPECT_FALSE(filewalk::IsPlainName(odd)) << odd;
    EXPECT_TRUE(filewalk::IsPlainPath(L"C:\\cache\\a.txt"));
    EXPECT_TRUE(filewalk::IsPlainPath(L"\\\\srv\\share\\a.txt"));
    for (const wchar_t* odd : {L"C:\\cache\\..\\keep.txt", L"C:\\cache\\.\\a", L"C:\\cache\\\\a", L"C:\\a\\", L"cache\\a",
                            L"\\\\?\\C:\\a", L"\\\\.\\pipe\\x", L"C:\\a/b"})
        EXPECT_FALSE(filewalk::IsPlainPath(odd)) << odd;
}

TEST(TopFolderGuard, RefusesRootsKnownFoldersAndEverythingAboveThem) {
    const std::vector<std::wstring> known{L"C:\\Windows", L"C:\\Windows\\system32", L"C:\\Program Files",
                                         L"C:\\users\\anna", L"\\\\srv\\home\\anna"};
    for (const wchar_t* refused : {L"C:\\", L"c:", L"C:\\.", L"C:\\x\\..\\..", L"C:\\x\\..", L"C:/", L"D:\\", L"\\\\srv\\home",
                                L"\\\\srv\\home\\", L"\\\\srv", L"\\\\?\\C:\\", L"\\\\?\\UNC\\srv\\home", L"\\\\.\\C:\\temp",
                                L"C:\\windows", L"C:\\WINDOWS\\System32\\", L"C:\\Windows.", L"C:\\Windows \\", L"C:\\PROGRAM FILES",
                                L"C:\\users", L"C:\\Users\\Anna", L"C:\\users\\anna\\x\\..", L"C:\\users\\.\\anna",
                                L"\\\\SRV\\HOME\\anna", L"cache", L"\\cache", L"C:cache", L"C:\\a\\...\\b", L""})
        EXPECT_TRUE(IsRefusedTopFolder(refused, known)) << refused;
    for (const wchar_t* allowed : {L"C:\\cache", L"C:\\users\\anna\\Cookies", L"C:\\users\\annabel", L"C:\\Windows2",
                                L"C:\\Program Files\\x\\..\\..\\cache", L"\\\\?\\C:\\users\\anna\\cache", L"D:\\x",
                                L"\\\\srv\\home\\anna\\cache", L"\\\\srv\\other\\cache", L"C:\\Windows\\Temp"})
        EXPECT_FALSE(IsRefusedTopFolder(allowed, known)) << allowed;
}

TEST(TopFolderGuard, RefusesThisMachinesFoldersAndDeletesNothingInThem) {
    wchar_t windows[MAX_PATH], profile[MAX_PATH];
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, profile)));
    for (std::wstring f : {std::wstring(L"C:\\"), std::wstring(windows), std::wstring(profile), std::wstring(profile) + L"\\..",
                          std::wstring(L"C:\\corvane-scratch\\x\\..\\..")})
        EXPECT_TRUE(IsRefusedTopFolder(f)) << f;
    EXPECT_FALSE(IsRefusedTopFolder(ScratchFolder(L"guard-allowed")));

    std::wstring sentinel = std::wstring(profile) + L"\\corvane-sentinel.txt";
    WriteFile(sentinel);
    EraseResult r = filewalk::EraseFilesIn(profile);
    EXPECT_TRUE(FileExists(sentinel));
    EXPECT_EQ(r.failed, 1u);
    EXPECT_NE(r.firstReason.find(L"protected"), std::wstring::npos) << r.firstReason;
    EXPECT_FALSE(filewalk::DeleteInside(sentinel));
    EXPECT_FALSE(filewalk::DeleteInside(std::wstring(profile) + L"\\sub\\..\\corvane-sentinel.txt"));
    EXPECT_TRUE(FileExists(sentinel));
    std::vector<filewalk::FolderEntry> entries;
    EXPECT_FALSE(filewalk::ListEntries(profile, entries));
    EXPECT_TRUE(entries.empty());
}

TEST(SafeDelete, LeavesLinksAloneAndActsOnLookAlikeNamesByTheirRealName) {
    ASSERT_TRUE(FileExists(kLinks + L"\\walk\\filelink")) << L"run tests/make_links.sh first";
    WriteFile(kLinks + L"\\walk\\own.txt");
    EraseResult r = filewalk::EraseFilesIn(kLinks + L"\\walk");
    EXPECT_EQ(r.erased, 1u);
    EXPECT_EQ(r.failed, 2u);  // the file link and the folder link stayed
    EXPECT_FALSE(FileExists(kLinks + L"\\walk\\own.txt"));
    EXPECT_TRUE(FileExists(kLinks + L"\\walk\\filelink"));
    EXPECT_FALSE(filewalk::DeleteInside(kLinks + L"\\walk\\filelink"));
    EXPECT_FALSE(filewalk::DeleteInside(kLinks + L"\\walk\\..\\keep.txt"));
    ExpectSentinelsIntact();

    // Names whose ANSI forms are "..\keep.txt" and "..": a page never gets them as entries, the
    // erase deletes the file by its real name, inside.
    std::wstring odd = kLinks + L"\\walk-odd";
    ASSERT_EQ(FilesIn(odd), 1u);
    std::vector<filewalk::FolderEntry> entries;
    ASSERT_TRUE(filewalk::ListEntries(odd, entries));
    ASSERT_EQ(entries.size(), 2u);
    for (const filewalk::FolderEntry& e : entries) EXPECT_EQ(e.kind, Entry::Skip) << e.name;
    r = filewalk::EraseFilesIn(odd);
    EXPECT_EQ(r.erased, 1u);
    EXPECT_EQ(FilesIn(odd), 0u);
    EXPECT_EQ(FilesIn(odd + L"\\\uFF0E\uFF0E"), 1u);
    ExpectSentinelsIntact();
}

TEST(Walk, NeverEntersAFolderSwappedForALinkAfterItWasFound) {
    const std::wstring swap = kLinks + L"\\swap";
    ASSERT_TRUE(FileExists(swap + L"\\real\\inner.txt")) << L"made by tests/make_links.sh";
    StopAfter sink;
    // Pauses: the top, its first pass (".", "..", "real", "spare"), then the second pass, which
    // has read the folder: the swap happens before it enters "real".
    sink.onPause = [&](int n) {
        if (n != 5) return;
        WriteFile(kLinks + L"\\swap-now");
        for (int i = 0; i < 300 && !FileExists(kLinks + L"\\swap-done"); ++i) ::Sleep(10);
    };
    filewalk::FolderWalk walk(true, sink);
    walk.Walk(swap + L"\\");
    ASSERT_TRUE(FileExists(kLinks + L"\\swap-done")) << L"the Linux side did not swap";
    EXPECT_TRUE(::GetFileAttributesW((swap + L"\\real").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(walk.Result().erased, 0u);
    EXPECT_TRUE(FileExists(swap + L"\\moved\\inner.txt"));
    ExpectSentinelsIntact();
}

TEST(SafeDelete, ErasesFilesThenTheWholeTreeWithLongPathsAndCountsWhatWentAndWhatStayed) {
    std::wstring top = ScratchFolder(L"walk-erase");
    WriteFile(top + L"\\a.txt", L"12345");
    WriteFile(top + L"\\ro.txt", L"123");
    ::SetFileAttributesW((top + L"\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    std::wstring deep = L"\\\\?\\" + std::wstring(top.begin(), top.end());
    for (int i = 0; i < 3; ++i) {
        deep += L"\\" + std::wstring(100, L'a' + i);
        ::CreateDirectoryW(deep.c_str(), nullptr);
    }
    HANDLE h = ::CreateFileW((deep + L"\\long.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_READONLY, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ::CloseHandle(h);
    WriteFile(top + L"\\busy.txt");
    HANDLE busy = ::CreateFileW((top + L"\\busy.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);

    EraseResult r = filewalk::EraseFilesIn(top + L"\\");
    EXPECT_EQ(r.erased, 2u);
    EXPECT_EQ(r.bytes, 8u);
    EXPECT_EQ(r.failed, 1u);
    EXPECT_EQ(FilesIn(top), 1u);
    EXPECT_NE(::GetFileAttributesW((deep + L"\\long.txt").c_str()), INVALID_FILE_ATTRIBUTES);  // not a walk
    EXPECT_TRUE(filewalk::EraseFilesIn(top + L"\\missing").Complete());

    StopAfter sink;
    filewalk::FolderWalk walk(true, sink);
    walk.Walk(top + L"\\");
    ::CloseHandle(busy);
    EXPECT_EQ(::GetFileAttributesW((deep + L"\\long.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(walk.Result().erased, 1u);
    EXPECT_EQ(walk.Result().failed, 1u);  // tried twice, counted once
    EXPECT_NE(walk.Result().firstReason.find(L"busy.txt"), std::wstring::npos) << walk.Result().firstReason;
    EXPECT_TRUE(FileExists(top + L"\\busy.txt"));
}

TEST(Walk, LooksAtTheStopRequestBetweenAnyTwoFilesInBothPasses) {
    std::wstring top = ScratchFolder(L"walk-stop");
    for (int i = 0; i < 200; ++i) WriteFile(top + L"\\f" + std::to_wstring(i) + L".txt");
    // The folder and its first pass take 203 pauses: 223 stops 20 files into the second pass.
    const struct { bool erase; int stopAt; size_t maxMet; } cases[] = {{false, 223, 21}, {false, 20, 0}, {true, 20, 0}};
    for (auto c : cases) {
        StopAfter sink(c.stopAt);
        filewalk::FolderWalk walk(c.erase, sink);
        EXPECT_ANY_THROW(walk.Walk(top + L"\\"));
        EXPECT_LE(walk.Result().erased, 20u);
        EXPECT_LE(sink.met, c.maxMet);
    }
    EXPECT_GE(FilesIn(top), 180u);
}
