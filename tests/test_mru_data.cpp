// The decoders of the shell's recently and most used lists, on built bytes.
#include <gtest/gtest.h>

#include "system/MruData.h"

using namespace mru;

namespace {
std::vector<unsigned char> Bytes(std::initializer_list<int> b) { return {b.begin(), b.end()}; }

std::vector<unsigned char> Utf16(const std::u16string& s) {
    std::vector<unsigned char> out;
    for (char16_t c : s) {
        out.push_back(static_cast<unsigned char>(c & 0xFF));
        out.push_back(static_cast<unsigned char>(c >> 8));
    }
    return out;
}
}  // namespace

TEST(MruData, Rot13TurnsOnlyLettersAndUndoesItself) {
    EXPECT_EQ(Rot13("HRZR_EHACNGU:P:\\Jvaqbjf\\abgrcnq.rkr"), "UEME_RUNPATH:C:\\Windows\\notepad.exe");
    EXPECT_EQ(Rot13("{0139D44E-6AFE-49F2}"), "{0139Q44R-6NSR-49S2}");
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    EXPECT_EQ(Rot13(Rot13(all)), all);
}

TEST(MruData, ListExOrderEndsAtItsTerminatorOrTheLastWholeNumber) {
    EXPECT_EQ(OrderFromListEx(Bytes({2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0})),
              (std::vector<uint32_t>{2, 0, 1}));
    EXPECT_EQ(OrderFromListEx(Bytes({5, 0, 0, 0, 9, 0})), std::vector<uint32_t>{5});  // no end, a half number
    EXPECT_TRUE(OrderFromListEx({}).empty());
    EXPECT_EQ(OrderFromListEx(Bytes({0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF, 0xFF})),
              std::vector<uint32_t>{0x04030201});
    std::vector<uint32_t> order{3, 0, 0x10000};
    EXPECT_EQ(OrderFromListEx(ListExFrom(order)), order);
    EXPECT_EQ(ListExFrom({}), Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(MruData, ItemIdListsMustEndInsideTheirData) {
    auto ok = Bytes({4, 0, 'a', 'b', 3, 0, 'c', 0, 0});
    EXPECT_EQ(ItemIdListSize(ok.data(), ok.size()), 9u);
    EXPECT_EQ(ItemIdListSize(ok.data(), 8), 0u);                   // the end cut off
    auto past = Bytes({9, 0, 'a', 'b', 0, 0});                     // an item longer than the data
    EXPECT_EQ(ItemIdListSize(past.data(), past.size()), 0u);
    auto tiny = Bytes({1, 0, 0, 0});                               // an item shorter than its size field
    EXPECT_EQ(ItemIdListSize(tiny.data(), tiny.size()), 0u);
    auto empty = Bytes({0, 0, 'x'});                               // the desktop: only the end
    EXPECT_EQ(ItemIdListSize(empty.data(), empty.size()), 2u);
    EXPECT_EQ(ItemIdListSize(empty.data(), 1), 0u);
}

TEST(MruData, LastVisitedEntriesSplitIntoProgramAndList) {
    std::vector<unsigned char> data = Utf16(u"notepad.exe");
    data.insert(data.end(), {0, 0, 4, 0, 'x', 'y', 0, 0});
    ProgramAndList e = SplitProgramAndList(data);
    EXPECT_EQ(e.program, u"notepad.exe");
    EXPECT_EQ(e.listOffset, 24u);
    EXPECT_EQ(e.listSize, 6u);

    std::vector<unsigned char> unterminated = Utf16(u"notepad");
    EXPECT_EQ(SplitProgramAndList(unterminated).listSize, 0u);
    std::vector<unsigned char> noList = Utf16(u"a");
    noList.insert(noList.end(), {0, 0, 8, 0});
    EXPECT_EQ(SplitProgramAndList(noList).listSize, 0u);
}

TEST(MruData, Utf16StringsAreSplitAtZeros) {
    std::vector<unsigned char> data = Utf16(u"wordpad.exe");
    data.insert(data.end(), {0, 0});
    std::vector<unsigned char> folder = Utf16(u"C:\\Docs");
    data.insert(data.end(), folder.begin(), folder.end());
    data.push_back('!');  // an odd byte at the end
    EXPECT_EQ(Utf16Strings(data), (std::vector<std::u16string>{u"wordpad.exe", u"C:\\Docs"}));
}

TEST(MruData, RunEntriesAndAutoCompleteNames) {
    EXPECT_EQ(RunEntryText("notepad\\1"), "notepad");
    EXPECT_EQ(RunEntryText("\\1"), "");
    EXPECT_EQ(RunEntryText("x"), "");  // never reads before its start
    EXPECT_EQ(RunEntryText(""), "");
    EXPECT_EQ(ThreeDigitName(0), "000");
    EXPECT_EQ(ThreeDigitName(42), "042");
    EXPECT_EQ(ThreeDigitName(999), "999");
    EXPECT_EQ(NamesFromList("cab"), (std::vector<std::string>{"c", "a", "b"}));
}
