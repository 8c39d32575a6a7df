// The decoders of the shell's recently and most used lists, on built bytes.
#include <gtest/gtest.h>

#include "system/MruData.h"

using namespace mru;

namespace {
std::vector<unsigned char> Bytes(std::initializer_list<int> b) { return {b.begin(), b.end()}; }
}  // namespace

TEST(MruData, Rot13TurnsOnlyLettersAndUndoesItself) {
    EXPECT_EQ(Rot13("HRZR_EHACNGU:P:\\Jvaqbjf\\abgrcnq.rkr"), "UEME_RUNPATH:C:\\Windows\\notepad.exe");
    std::string all;
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    EXPECT_EQ(Rot13(Rot13(all)), all);
}

TEST(MruData, ListExOrderEndsAtItsTerminatorOrTheLastWholeNumber) {
    EXPECT_EQ(OrderFromListEx(Bytes({2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0})),
              (std::vector<uint32_t>{2, 0, 1}));
    EXPECT_EQ(OrderFromListEx(Bytes({0x01, 0x02, 0x03, 0x04, 9, 0})), std::vector<uint32_t>{0x04030201});
    std::vector<uint32_t> order{3, 0, 0x10000};
    EXPECT_EQ(OrderFromListEx(ListExFrom(order)), order);
    EXPECT_EQ(ListExFrom({}), Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(MruData, ItemIdListsAndProgramNamesMustEndInsideTheirData) {
    auto ok = Bytes({4, 0, 'a', 'b', 3, 0, 'c', 0, 0});
    EXPECT_EQ(ItemIdListSize(ok.data(), ok.size()), 9u);
    EXPECT_EQ(ItemIdListSize(ok.data(), 8), 0u);  // the end cut off
    auto past = Bytes({9, 0, 'a', 'b', 0, 0});    // an item longer than the data
    EXPECT_EQ(ItemIdListSize(past.data(), past.size()), 0u);
    auto tiny = Bytes({1, 0, 0, 0});              // an item shorter than its size field
    EXPECT_EQ(ItemIdListSize(tiny.data(), tiny.size()), 0u);

    auto entry = Bytes({'n', 0, 'p', 0, 0, 0, 4, 0, 'x', 'y', 0, 0});
    ProgramAndList e = SplitProgramAndList(entry);
    EXPECT_EQ(e.program, u"np");
    EXPECT_EQ(e.listOffset, 6u);
    EXPECT_EQ(e.listSize, 6u);
    EXPECT_EQ(SplitProgramAndList(Bytes({'n', 0, 'p', 0})).listSize, 0u);  // the name never ends
    EXPECT_EQ(Utf16Strings(Bytes({'a', 0, 0, 0, 'b', 0, '!'})), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST(MruData, RunEntriesAndAutoCompleteNames) {
    EXPECT_EQ(RunEntryText("notepad\\1"), "notepad");
    EXPECT_EQ(RunEntryText("x"), "");  // never reads before its start
    EXPECT_EQ(ThreeDigitName(0), "000");
    EXPECT_EQ(ThreeDigitName(42), "042");
    EXPECT_EQ(ThreeDigitName(999), "999");
}
