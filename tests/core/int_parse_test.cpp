#include "shell/state/int_parse.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace {

using SettingsUnit::ParseInt32;

struct Case {
    const char* text;
    std::optional<std::int32_t> value;
};

TEST(ParseInt32, Accepted) {
    const Case cases[] = {
        {"0", 0},
        {"10", 10},
        {"-15", -15},
        {"+7", 7},
        {"007", 7},
        {"   42", 42},
        {" -200", -200},
        {"500", 500},
        {"2147483647", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"$0", 0},
        {"$1A", 26},
        {"$ff", 255},
        {"-$10", -16},
        {" $7FFFFFFF", std::numeric_limits<std::int32_t>::max()},
        {"$80000000", std::numeric_limits<std::int32_t>::min()},
        {"$FFFFFFFF", -1},
        {"$000000001", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseInt32(c.text), c.value) << '"' << c.text << '"';
}

TEST(ParseInt32, Rejected) {
    const char* cases[] = {
        "",        " ",       "-",         "+",           "$",          "-$",
        "12 ",     "1 2",     "- 5",       "\t5",         "5\t",        "12a",
        "abc",     "0x10",    "$G",        "$1 ",         "1.5",        "1e3",
        "--1",     "+-1",     "$-1",       "2147483648",  "-2147483649", "99999999999",
        "$100000000", "$FFFFFFFFF",
    };
    for (const char* text : cases) EXPECT_EQ(ParseInt32(text), std::nullopt) << '"' << text << '"';
}

TEST(ParseInt32, EmbeddedNulIsJunk) {
    EXPECT_EQ(ParseInt32(std::string("12\0", 3)), std::nullopt);
}

// Every value the settings dialog writes reads back as itself.
TEST(ParseInt32, DecimalTextRoundTrips) {
    const std::int32_t values[] = {-200, -1, 0, 1, 10, 199, 200,
                                   std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max()};
    for (std::int32_t v : values) EXPECT_EQ(ParseInt32(std::to_string(v)), v);
}

}  // namespace
