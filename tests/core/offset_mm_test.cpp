// Offsets in millimetres: the text beside each offset, and a typed correction turned into
// whole steps.
#include <gtest/gtest.h>

#include "sheets/offset_mm.h"

namespace {

using namespace SetReportCommon;

TEST(OffsetMm, StepsShownInMillimetres) {
    struct Case {
        long long steps;
        int ppi;
        const wchar_t* text;
    } const cases[] = {
        {10, 96, L"2,65 мм"}, {-4, 96, L"-1,06 мм"}, {0, 96, L"0,00 мм"},
        {200, 96, L"52,92 мм"}, {10, 120, L"2,12 мм"}, {1, 144, L"0,18 мм"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        EXPECT_EQ(MmText(c.steps, c.ppi), c.text);
    }
}

TEST(OffsetMm, ACorrectionInMillimetresBecomesTheNearestWholeStep) {
    struct Case {
        const wchar_t* typed;
        std::optional<double> mm;
        long long steps96;
    } const cases[] = {
        {L"1,5", 1.5, 6},      // 5.67 steps
        {L"-1.0", -1.0, -4},   // -3.78
        {L" +0,13 мм ", 0.13, 0},  // 0.49
        {L"0,14", 0.14, 1},    // 0.53
        {L"2,65", 2.65, 10},
        {L"10", 10.0, 38},     // 37.8
        {L"", std::nullopt, 0},
        {L"-", std::nullopt, 0},
        {L"1,5,2", std::nullopt, 0},
        {L"abc", std::nullopt, 0},
        {L"1 5", std::nullopt, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(std::wstring(c.typed).size()));
        const auto mm = ParseMm(c.typed);
        ASSERT_EQ(mm.has_value(), c.mm.has_value());
        if (!mm) continue;
        EXPECT_NEAR(*mm, *c.mm, 1e-9);
        EXPECT_EQ(MmToSteps(*mm, 96), c.steps96);
    }
    // The round trip of every offset the dialog allows.
    for (int ppi : {96, 120, 144})
        for (long long s = -200; s <= 200; ++s) EXPECT_EQ(MmToSteps(StepsToMm(s, ppi), ppi), s);
}

}  // namespace
