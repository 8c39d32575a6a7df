// The jump-list reader on lists built here byte by byte: what it names, and that a broken,
// looping or boastful file gives no more than its bytes hold. Then a list in the prefix's
// AppData through the Jump Lists category, erased whole.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>

#include "../support/JumpListBytes.h"
#include "JumpList.h"
#include "TraceCategories.h"
#include "categories/Rows.h"

using namespace engine;
using namespace jumpbytes;

namespace {
const std::string kLink = Link("C:\\b.txt");

std::vector<std::wstring> Read(const std::string& bytes) {
    return jumplist::Documents(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}
std::string Automatic(const std::string& destList) { return Compound({{u"DestList", destList}, {u"2", kLink}}); }
}  // namespace

TEST(JumpList, NamesDestListPathsAndTheLinkOfAnEntryWithout) {
    EXPECT_EQ(Read(Automatic(DestList({{1, u"C:\\\u0141\u00f3d\u017a.docx"}, {2, u""}}))),
              (std::vector<std::wstring>{L"C:\\\u0141\u00f3d\u017a.docx", L"C:\\b.txt"}));
    // Without a DestList every numbered stream's link is read.
    EXPECT_EQ(Read(Compound({{u"2", kLink}, {u"1f", Link("C:\\a")}})), (std::vector<std::wstring>{L"C:\\b.txt", L"C:\\a"}));
    // A custom list names each link's target once.
    EXPECT_EQ(Read(std::string("\2\0\0\0\1\0\0\0\0\0\0\0", 12) + kLink + Link("D:\\x") + kLink),
              (std::vector<std::wstring>{L"C:\\b.txt", L"D:\\x"}));
    EXPECT_EQ(jumplist::RowText(L"C:\\f\\j", {L"a", L"b"}), L"\u2026\\j (2 documents: a, b)");
    EXPECT_EQ(jumplist::RowText(L"C:\\f\\j", {L"a"}), L"\u2026\\j (1 document: a)");
}

TEST(JumpList, BrokenFilesGiveNoMoreThanTheirBytesHold) {
    std::string whole = Automatic(DestList({{1, u"C:\\a.docx"}, {2, u""}}));
    EXPECT_TRUE(Read(whole.substr(0, 511)).empty());
    // Cut inside the mini stream: DestList is whole, the link after it is gone.
    EXPECT_EQ(Read(whole.substr(0, 4 * 512 + 320)), std::vector<std::wstring>{L"C:\\a.docx"});
    std::string loop = whole;
    Put32(loop, 3 * 512, 0);  // DestList's first sector in the mini table leads to itself: the link instead
    EXPECT_EQ(Read(loop), std::vector<std::wstring>{L"C:\\b.txt"});
    loop = whole;
    Put32(loop, 512 + 4 * 1, 1);  // the directory's sector in the sector table leads to itself
    EXPECT_TRUE(Read(loop).empty());
    std::string huge = whole;
    Put32(huge, 0x2C, 0xFFFFFFFF);  // four billion table sectors
    EXPECT_TRUE(Read(huge).empty());
    std::string many = DestList({{1, u"C:\\a.docx"}});
    Put32(many, 4, 0xFFFFFFFF);  // a count far beyond the entries
    EXPECT_EQ(Read(Automatic(many)).size(), 1u);
    many[32 + 112] = '\xFF', many[32 + 113] = '\xFF';  // a path longer than the stream: the link instead
    EXPECT_EQ(Read(Automatic(many)), std::vector<std::wstring>{L"C:\\b.txt"});
}

TEST(JumpList, TheCategoryRowNamesTheDocumentsAndTheEraseTakesTheFile) {
    std::wstring folder = rows::KnownFolder(FOLDERID_RoamingAppData) + L"\\Microsoft\\Windows\\Recent\\AutomaticDestinations";
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    std::wstring file = folder + L"\\0123456789abcdef.automaticDestinations-ms";
    std::ofstream(std::filesystem::path(file), std::ios::binary) << Automatic(DestList({{1, u"C:\\a.docx"}}));
    std::vector<TraceEntry> mine;
    for (const TraceEntry& e : ReadTraces(*FindTraceDefinition("system.jump-lists")))
        if (e.path == file) mine.push_back(e);
    ASSERT_EQ(mine.size(), 1u);
    EXPECT_EQ(mine[0].text, L"\u2026\\0123456789abcdef.automaticDestinations-ms (1 document: C:\\a.docx)");
    EXPECT_TRUE(EraseTraces(mine, Options{}).Complete());
    EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}
