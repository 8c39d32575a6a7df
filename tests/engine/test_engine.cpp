// The engine on its own: the guard on a walk's top folder (pure, and on this machine, by path and
// by ID), the one walk and delete against links, case twins, hard links, look-alike names and
// depth, the item-ID list decoder, and the worker. Registry links and look-alike value names are
// the category suite's and the wipe list's.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "Guard.h"
#include "ItemIdList.h"
#include "InUse.h"
#include "PathRules.h"
#include "Walk.h"
#include "Worker.h"

using namespace engine;

namespace {
const std::wstring kFixtures = L"C:\\engine-fixtures";

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool ReadOnly(const std::wstring& path) {
    DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}
void Write(const std::wstring& path, const char* text = "x") {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    ::WriteFile(h, text, static_cast<DWORD>(strlen(text)), &n, nullptr);
    ::CloseHandle(h);
}
// A fresh folder (its parent made too) inside the prefix's drive C:.
std::wstring Fresh(const std::wstring& path) {
    EraseFolder(path, {});
    ::SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    return path;
}
bool Mentions(const Result& r, const std::wstring& text) {
    for (const std::wstring& reason : r.reasons)
        if (reason.find(text) != std::wstring::npos) return true;
    return false;
}
std::wstring Known(REFKNOWNFOLDERID id) {
    PWSTR p = nullptr;
    ::SHGetKnownFolderPath(id, 0, nullptr, &p);
    std::wstring s = p ? p : L"";
    ::CoTaskMemFree(p);
    return s;
}
}  // namespace

TEST(PathRules, OnlyPlainNamesAndFullPaths) {
    for (const wchar_t* plain : {L"a.txt", L".profile", L"a..b", L"\xFF0E\xFF0E", L"Łukasz", L"\xD83D\xDE00.txt"})
        EXPECT_TRUE(IsPlainName(plain)) << plain;
    for (const wchar_t* odd : {L"", L".", L"..", L". .", L"a\\b", L"a/b", L"c:", L"a?", L"tab\t", L"a|b"})
        EXPECT_FALSE(IsPlainName(odd)) << odd;
    struct Case { const wchar_t* path; const wchar_t* folded; };
    for (const Case& c : {Case{L"c:\\a\\.\\b\\..\\C", L"C:\\A\\C"}, Case{L"\\\\?\\C:\\x\\", L"C:\\X"},
                          Case{L"\\\\?\\UNC\\srv\\Share\\d", L"\\\\SRV\\SHARE\\D"}, Case{L"\\\\host\\c$\\Windows", L"C:\\WINDOWS"},
                          Case{L"C:\\łukasz. ", L"C:\\ŁUKASZ"}}) {
        PathSteps s;
        ASSERT_TRUE(SplitFullPath(c.path, s)) << c.path;
        EXPECT_EQ(FoldedPath(s), c.folded);
    }
    for (const wchar_t* bad : {L".", L"C:", L"C:x", L"\\x", L"x\\y", L"\\\\.\\C:\\x", L"\\\\?\\Volume{1}\\x",
                               L"\\\\?\\GLOBALROOT\\x", L"\\\\srv", L"C:\\a\\...\\b"})
        EXPECT_FALSE(IsAbsoluteFolder(bad)) << bad;
}

// A decision table: Wine has no SMB loopback to try these on.
TEST(PathRules, AShareOnThisMachineIsKnownInEverySpelling) {
    const std::vector<std::wstring> own{L"HOST", L"host.corp.example", L"10.0.0.5", L"fe80::1"};
    for (const wchar_t* path : {L"\\\\localhost\\ADMIN$\\System32", L"\\\\?\\UNC\\LOCALHOST.\\x\\y", L"\\\\127.0.0.1\\s\\x",
                                L"//127.1/s/x", L"\\\\0x7f000001\\s\\x", L"\\\\0--1.ipv6-literal.net\\s\\x",
                                L"\\\\host\\s\\x", L"\\\\HOST.corp.example\\s\\x", L"\\\\10.0.0.005\\s\\x",
                                L"\\\\fe80--1s4.ipv6-literal.net\\s\\x"})
        EXPECT_TRUE(IsThisMachine(ServerOf(path), own)) << path;
    for (const wchar_t* path : {L"\\\\server\\s\\x", L"\\\\127.example.com\\s\\x", L"\\\\10.0.0.6\\s\\x",
                                L"\\\\256.0.0.1\\s\\x", L"C:\\x", L"\\\\?\\C:\\x", L"\\\\.\\C:\\x"})
        EXPECT_FALSE(IsThisMachine(ServerOf(path), own)) << path;
}

// A decision table: Wine shows no access lists and deletes nothing at restart.
TEST(InUse, DeletedAtRestartOnlyInsideTheProfileWhereNoOneElseWrites) {
    using E = AccessEntry;
    const std::vector<E> own{{true, GENERIC_ALL, Trustee::User}, {true, GENERIC_ALL, Trustee::System},
                             {true, FILE_GENERIC_READ, Trustee::Other}, {false, GENERIC_ALL, Trustee::Other},
                             {true, FILE_ADD_FILE, Trustee::Other, true}};
    EXPECT_FALSE(OthersMayWrite(&own));
    EXPECT_TRUE(OthersMayWrite(nullptr));
    for (unsigned long write : std::initializer_list<unsigned long>{FILE_ADD_FILE, FILE_ADD_SUBDIRECTORY, FILE_DELETE_CHILD,
                                                                    WRITE_DAC, GENERIC_WRITE}) {
        std::vector<E> shared = own;
        shared.push_back({true, write, Trustee::Other});
        EXPECT_TRUE(OthersMayWrite(&shared)) << write;
    }
    const std::wstring profile = L"C:\\Users\\ann";
    EXPECT_TRUE(MayDeleteAtRestart(L"\\\\?\\C:\\Users\\ann\\AppData\\Local\\Temp\\f.tmp", profile, false));
    EXPECT_FALSE(MayDeleteAtRestart(L"C:\\Users\\ann\\AppData\\Local\\Temp\\f.tmp", profile, true));
    for (const wchar_t* outside : {L"C:\\Windows\\Temp\\f.tmp", L"\\\\srv\\share\\f.tmp", L"C:\\Users\\ann",
                                   L"C:\\Users\\anna\\f.tmp", L"C:\\Users\\ann\\..\\bob\\f.tmp"})
        EXPECT_FALSE(MayDeleteAtRestart(outside, profile, false)) << outside;
    EXPECT_FALSE(MayDeleteAtRestart(L"C:\\Users\\ann\\f.tmp", L"", false));
}

TEST(Guard, ThisMachinesFoldersAndLinksAreRefused) {
    for (REFKNOWNFOLDERID id : {FOLDERID_Documents, FOLDERID_Desktop, FOLDERID_Profile, FOLDERID_ProgramData,
                                FOLDERID_Public, FOLDERID_LocalAppData, FOLDERID_System})
        EXPECT_FALSE(CheckTopFolder(Known(id)).empty()) << Known(id);
    EXPECT_FALSE(CheckTopFolder(Known(FOLDERID_System) + L"\\drivers").empty());
    EXPECT_NE(CheckTopFolder(kFixtures + L"\\walklink").find(L"link"), std::wstring::npos);
    EXPECT_TRUE(CheckTopFolder(kFixtures + L"\\walk").empty());
    // The engine's own working folders are fine; a relative TEMP is not.
    EXPECT_FALSE(CheckTopFolder(L".").empty());
    EXPECT_FALSE(CheckTopFolder(L"C:").empty());
    const std::wstring name = ThisMachineNames().empty() ? L"localhost" : ThisMachineNames().front();
    const std::vector<std::wstring> shares{L"\\\\localhost\\ADMIN$\\System32", L"\\\\127.0.0.1\\share\\x", L"\\\\" + name + L"\\s\\x"};
    for (const std::wstring& share : shares)
        EXPECT_NE(CheckTopFolder(share).find(L"a share of this machine"), std::wstring::npos) << share;
    // C:\users and C:\windows mounted a second time: names no path check knows, the same IDs.
    const std::wstring profile = Known(FOLDERID_Profile), again = kFixtures + L"\\users-again";
    for (const std::wstring& other : {again, again + profile.substr(profile.find_last_of(L'\\')) + L"\\Documents"})
        EXPECT_NE(CheckTopFolder(other).find(L"under another name"), std::wstring::npos) << other;
    EXPECT_EQ(CheckTopFolder(kFixtures + L"\\windows-again\\temp"), L"");
    Result r = EraseFile(kFixtures + L"\\windows-again\\win.ini", {});
    EXPECT_TRUE(Mentions(r, L"under another name: a folder of the system")) << r.FirstReason();
}

TEST(Walk, ErasesWhatIsInsideAndNothingItLeadsTo) {
    const std::wstring walk = kFixtures + L"\\walk";
    Listing before = ListFolder(walk, {});
    EXPECT_EQ(before.items.size(), 4u);  // a file link looks like a file until it is opened
    EXPECT_EQ(before.problems.failed, 1u);  // the folder link
    Result r = EraseInside(walk, {});
    // a.txt, sub\b.txt and the look-alike name, which is a plain name in its real form.
    EXPECT_EQ(r.erased, 3u);
    EXPECT_EQ(r.bytes, 7u);
    EXPECT_EQ(r.failed, 2u);  // the two links stay, each with its reason
    EXPECT_TRUE(Mentions(r, L"a link"));
    EXPECT_TRUE(Mentions(r, L"leads outside"));
    EXPECT_FALSE(Exists(walk + L"\\\xFF0E\xFF0E\xFF3Ckeep.txt"));
    EXPECT_TRUE(Exists(walk + L"\\sub"));  // emptied, kept
    EXPECT_TRUE(ReadOnly(kFixtures + L"\\sentinel\\keep.txt"));

    // A link whose target is the walked name but for case leads outside.
    r = EraseInside(kFixtures + L"\\top", {});
    EXPECT_EQ(r.erased, 0u);
    EXPECT_TRUE(Mentions(r, L"leads outside"));
    EXPECT_TRUE(Exists(kFixtures + L"\\TOP\\f.txt"));

    // Reached through a link: refused whole.
    r = EraseInside(kFixtures + L"\\walklink", {});
    EXPECT_EQ(r.failed, 1u);
    EXPECT_TRUE(Mentions(r, L"link"));
}

TEST(Walk, AFileWithMoreThanOneNameKeepsItsAttributes) {
    const std::wstring hard = kFixtures + L"\\hard";
    Result r = EraseInside(hard, {});
    EXPECT_EQ(r.erased, 1u);  // the writable name goes; its other name keeps the content
    EXPECT_TRUE(Exists(kFixtures + L"\\elsewhere\\shared.txt"));
    EXPECT_FALSE(Exists(hard + L"\\shared.txt"));
    EXPECT_TRUE(Mentions(r, L"more than one name"));
    EXPECT_TRUE(ReadOnly(hard + L"\\locked.txt"));
    EXPECT_TRUE(ReadOnly(kFixtures + L"\\elsewhere\\locked.txt"));
}

TEST(Walk, AReadOnlyFileInUseIsReadOnlyStillAndNotLeftForARestart) {
    const std::wstring folder = Fresh(L"C:\\corvane-scratch\\in-use"), held = folder + L"\\held.txt";
    Write(held);
    ::SetFileAttributesW(held.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ListFolder(folder, {}).items.size(), 1u);
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    EXPECT_EQ(::GetFileAttributesW(held.c_str()) & kept, kept);  // looking changes nothing
    HANDLE h = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Options overwrite;
    overwrite.overwrite = true;
    Result r = EraseFile(held, overwrite);
    ::CloseHandle(h);
    EXPECT_EQ(r.failed, 1u);
    EXPECT_TRUE(Mentions(r, L"in use by another program; close it and erase again"));
    EXPECT_TRUE(r.notes.empty());  // nothing scheduled by path outside the profile
    EXPECT_EQ(::GetFileAttributesW(held.c_str()) & kept, kept);
}

// Names outside the code page are the Unicode page tests'; here one file by name, and one level.
TEST(Walk, OneFileByNameAndTheFilesOfOneLevel) {
    const std::wstring real = Fresh(L"C:\\engine-t\\level");
    Write(real + L"\\one.txt");
    Write(real + L"\\two.txt");
    Fresh(real + L"\\sub");
    Write(real + L"\\sub\\three.txt");
    EXPECT_EQ(EraseFile(real + L"\\one.txt", {}).erased, 1u);
    EXPECT_EQ(EraseFilesIn(real, {}).erased, 1u);
    EXPECT_TRUE(Exists(real + L"\\sub\\three.txt"));
}

TEST(Walk, ADeepTreeGoesWhole) {
    Result r = EraseFolder(kFixtures + L"\\deep", {});
    EXPECT_EQ(r.failed, 0u) << (r.reasons.empty() ? L"" : r.reasons[0]);
    EXPECT_FALSE(Exists(kFixtures + L"\\deep"));
}

TEST(Worker, AnExceptionIsAFailureOfTheJob) {
    std::wstring why;
    Worker w;
    Worker::FaultForTests() = [](const StopToken&) { throw std::bad_alloc(); };
    w.Start([](const StopToken&) {}, [&](const std::wstring& text) { why = text; });
    w.Join();
    Worker::FaultForTests() = nullptr;
    EXPECT_EQ(why, L"not enough memory");
}

namespace {
using Bytes = std::vector<unsigned char>;
Bytes IdItem(unsigned char type, const Bytes& body) {
    Bytes b(3 + body.size(), 0);
    b[0] = static_cast<unsigned char>(b.size());
    b[2] = type;
    std::copy(body.begin(), body.end(), b.begin() + 3);
    return b;
}
void Put16(Bytes& b, const std::wstring& text) {
    for (wchar_t c : text + L'\0') b.insert(b.end(), {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8)});
}
// A file entry as Windows 7 writes it: the short 8-bit name, then the version 8 extension block
// with the long UTF-16 name.
Bytes FileEntry(const char* shortName, const std::wstring& longName) {
    Bytes body(11, 0);
    body.insert(body.end(), shortName, shortName + strlen(shortName) + 1);
    if (body.size() % 2 == 0) body.push_back(0);
    Bytes ext{0, 0, 8, 0, 0x04, 0, 0xEF, 0xBE};
    ext.resize(42, 0);
    Put16(ext, longName);
    ext.insert(ext.end(), {0, 0});
    ext[0] = static_cast<unsigned char>(ext.size());
    body.insert(body.end(), ext.begin(), ext.end());
    return IdItem(0x32, body);
}
Bytes List(std::initializer_list<Bytes> items) {
    Bytes all;
    for (const Bytes& i : items) all.insert(all.end(), i.begin(), i.end());
    return all.insert(all.end(), {0, 0}), all;
}
std::wstring Text(const Bytes& b, itemids::FolderNamer namer = nullptr) { return itemids::PathText(b.data(), b.size(), namer); }
}  // namespace

TEST(ItemIdList, DrivesSharesAddressesAndKnownFoldersAsPathsAndNothingThatCannotBeRead) {
    const Bytes computer = IdItem(0x1F, {0x50, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D});
    const Bytes downloads = IdItem(0x1F, {0x44, 0x90, 0xE2, 0x4D, 0x37, 0x3F, 0x12, 0x65, 0x45, 0x91, 0x64, 0x39, 0xC4, 0x92, 0x5E, 0x46, 0x7B});
    const Bytes drive = IdItem(0x2F, {'C', ':', '\\', 0, 0, 0});
    const Bytes report = FileEntry("OTCET~1.DOC", L"\u041e\u0442\u0447\u0451\u0442.docx");
    EXPECT_EQ(Text(List({computer, drive, report})), L"C:\\\u041e\u0442\u0447\u0451\u0442.docx");
    EXPECT_EQ(Text(List({computer, drive})), L"C:\\");
    EXPECT_EQ(Text(List({IdItem(0xC3, {0x01, 0x81, '\\', '\\', 's', '\\', 'p', 0}), FileEntry("A.TXT", L"a.txt")})), L"\\\\s\\p\\a.txt");
    Bytes uri{0x80, 0, 0};  // UTF-16, no data before the address
    Put16(uri, L"http://example.com/");
    EXPECT_EQ(Text(List({IdItem(0x61, uri)})), L"http://example.com/");
    EXPECT_EQ(Text(List({downloads, report})), L"::{374DE290-123F-4565-9164-39C4925E467B}\\\u041e\u0442\u0447\u0451\u0442.docx");
    auto named = [](const std::wstring& guid) { return guid == L"{374DE290-123F-4565-9164-39C4925E467B}" ? std::wstring(L"D:\\Down") : L""; };
    EXPECT_EQ(Text(List({downloads, report}), named), L"D:\\Down\\\u041e\u0442\u0447\u0451\u0442.docx");
    // Cut short, an item longer than the data, an item of a kind that names nothing.
    Bytes cut = List({computer, drive, report});
    cut.resize(cut.size() - 12);
    for (const Bytes& b : {cut, Bytes{0x40, 0, 0x31, 0}, List({computer, IdItem(0x71, {0, 0, 0, 0})})}) EXPECT_EQ(Text(b), L"");
}
