#include "report/model/format_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using rep::FormatLines;
using Lines = std::vector<std::wstring>;

// Every character 10 px wide.
int TenPerChar(const std::wstring& s) { return static_cast<int>(s.size()) * 10; }

Lines Wrap(const std::wstring& caption, int width) {
    return FormatLines(caption, {}, false, true, width, TenPerChar);
}

TEST(FormatLines, WrapsCaptionIntoTheBox) {
    struct Case { std::wstring caption; int width; Lines expected; };
    const std::wstring a25(25, L'a'), b25(25, L'b');
    const Case cases[] = {
        {a25 + L" " + b25, 500, {a25, b25}},              // together wider than 500 px
        {a25 + L" " + b25, 520, {a25 + L" " + b25}},       // "a..ab..b " measures 510
        {L"ab cd", 60, {L"ab cd"}},
        {L"ab cd", 50, {L"ab cd"}},                        // equal to the box still fits
        {L"ab cd", 49, {L"ab", L"cd"}},
        {L"one two three four", 90, {L"one two", L"three", L"four"}},
        {L"abcdefghij", 50, {L"abcdefghij"}},              // a word wider than the box stays whole
        {L"ab abcdefghij cd", 50, {L"ab", L"abcdefghij", L"cd"}},
        {L"Иванов Пётр Сергеевич", 150, {L"Иванов Пётр", L"Сергеевич"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Wrap(c.caption, c.width), c.expected) << c.width;
}

TEST(FormatLines, BlanksAndEmptyWords) {
    struct Case { std::wstring caption; int width; Lines expected; };
    const Case cases[] = {
        {L"a  b", 1000, {L"a  b"}},        // two blanks give an empty word: kept
        {L"a  b", 20, {L"a ", L"b"}},      // the empty word joins the first line
        {L"ab ", 1000, {L"ab"}},           // a trailing blank gives no word
        {L"ab   ", 1000, {L"ab  "}},       // three trailing blanks give two empty words
        {L" ab", 1000, {L"ab"}},           // a leading empty word adds nothing to an empty line
        {L"  ", 1000, {}},                 // only empty words: nothing to emit
        {L" ", 1000, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Wrap(c.caption, c.width), c.expected) << c.width;
}

TEST(FormatLines, SourceLines) {
    const Lines list = {L"", L"one two", L"x"};
    // The caption wins over the list, as one line.
    EXPECT_EQ(FormatLines(L"cap tion", list, false, true, 1000, TenPerChar), Lines{L"cap tion"});
    // An empty caption takes the list; an empty line stays one empty line.
    EXPECT_EQ(FormatLines(L"", list, false, true, 40, TenPerChar), (Lines{L"", L"one", L"two", L"x"}));
    EXPECT_EQ(FormatLines(L"", {}, false, true, 40, TenPerChar), Lines{});
    EXPECT_EQ(FormatLines(L"", {}, true, true, 40, TenPerChar), Lines{});
}

TEST(FormatLines, NoWrappingWithAutoSizeOrWithoutWordWrap) {
    const std::wstring wide = L"much wider than the box";
    struct Case { bool autoSize, wordWrap; };
    for (const auto& c : {Case{true, true}, Case{true, false}, Case{false, false}}) {
        EXPECT_EQ(FormatLines(wide, {}, c.autoSize, c.wordWrap, 10, TenPerChar), Lines{wide});
        EXPECT_EQ(FormatLines(L"", {L"a b", L"c d"}, c.autoSize, c.wordWrap, 10, TenPerChar),
                  (Lines{L"a b", L"c d"}));
    }
}

TEST(FormatLines, LineBreakInCaptionIsNotSplit) {
    const std::wstring caption = L"ab\r\ncd";
    EXPECT_EQ(FormatLines(caption, {}, true, true, 10, TenPerChar), Lines{caption});
    EXPECT_EQ(Wrap(caption, 1000), Lines{caption});
    EXPECT_EQ(Wrap(L"ab\r\ncd ef", 70), (Lines{L"ab\r\ncd", L"ef"}));
}

TEST(FormatLines, MeasuresCurrentTextPlusWordPlusBlank) {
    std::vector<std::wstring> measured;
    auto spy = [&](const std::wstring& s) {
        measured.push_back(s);
        return TenPerChar(s);
    };
    (void)FormatLines(L"ab cd ef", {}, false, true, 50, spy);
    EXPECT_EQ(measured, (Lines{L"ab ", L"abcd ", L"ab cdef "}));
}

}  // namespace
