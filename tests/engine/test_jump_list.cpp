// The jump-list reader on lists built here byte by byte: what it names, and that a cut, looping
// or boastful file gives no more than its bytes hold.
#include <gtest/gtest.h>

#include "../support/JumpListBytes.h"
#include "JumpList.h"

using namespace engine::jumplist;
using namespace jumpbytes;
using Names = std::vector<std::wstring>;

namespace {
const std::string kLink = Link("C:\\b.txt");
Names Read(const std::string& bytes) { return Documents(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()); }
std::string Automatic(const std::string& destList) { return Compound({{u"DestList", destList}, {u"2", kLink}}); }
}  // namespace

TEST(JumpList, NamesDestListPathsTheLinksOfEntriesWithoutAndTheRowAndNoMoreThanBrokenBytesHold) {
    EXPECT_EQ(Read(Automatic(DestList({{1, u"C:\\\u0141\u00f3d\u017a.docx"}, {2, u""}}))), (Names{L"C:\\\u0141\u00f3d\u017a.docx", L"C:\\b.txt"}));
    EXPECT_EQ(Read(Compound({{u"2", kLink}, {u"1f", Link("C:\\a")}})), (Names{L"C:\\b.txt", L"C:\\a"}));  // no DestList
    // A custom list names each link's target once.
    EXPECT_EQ(Read(std::string("\2\0\0\0\1\0\0\0\0\0\0\0", 12) + kLink + Link("D:\\x") + kLink), (Names{L"C:\\b.txt", L"D:\\x"}));
    EXPECT_EQ(RowText(L"C:\\f\\j", {L"a", L"b"}), L"\u2026\\j (2 documents: a, b)");
    EXPECT_EQ(RowText(L"C:\\f\\j", {L"a"}), L"\u2026\\j (1 document: a)");
    EXPECT_EQ(RowText(L"C:\\f\\j", {}), L"C:\\f\\j");

    // Broken files give no more than their bytes hold.
    std::string whole = Automatic(DestList({{1, u"C:\\a.docx"}, {2, u""}})), bad = whole;
    EXPECT_TRUE(Read(whole.substr(0, 511)).empty());
    EXPECT_EQ(Read(whole.substr(0, 4 * 512 + 320)), Names{L"C:\\a.docx"});  // cut after DestList, in the link
    Put32(bad, 3 * 512, 0);  // DestList's first sector in the mini table leads to itself: the links instead
    EXPECT_EQ(Read(bad), Names{L"C:\\b.txt"});
    bad = whole;
    Put32(bad, 512 + 4, 1);  // so does the directory's sector in the sector table
    EXPECT_TRUE(Read(bad).empty());
    bad = whole;
    Put32(bad, 0x2C, 0xFFFFFFFF);  // four billion table sectors
    EXPECT_TRUE(Read(bad).empty());
    std::string many = DestList({{1, u"C:\\a.docx"}});
    Put32(many, 4, 0xFFFFFFFF);  // a count far beyond the entries
    EXPECT_EQ(Read(Automatic(many)), Names{L"C:\\a.docx"});
    many[32 + 112] = many[32 + 113] = '\xFF';  // a path longer than the stream: the links instead
    EXPECT_EQ(Read(Automatic(many)), Names{L"C:\\b.txt"});
}
