// Blk.ini's sections as bytes: a printer's section replaced or added, everything else of
// the file byte for byte as it was.
#include <gtest/gtest.h>

#include "shell/ini_sections.h"

namespace {

using SettingsUnit::ParseIni;
using SettingsUnit::ReplaceIniSection;

const char kNew[] = "[Printer: HP]\r\nDeltaX1=4\r\n";

TEST(IniSections, ReplacingOrAddingASectionKeepsEveryOtherByte) {
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const std::string settings = "[Settings]\r\nDeltaX1 = 5 \r\n; hand-made\r\nDeltaY1=-3\r\n";
    const Case cases[] = {
        {"added after the last line", settings, settings + kNew},
        {"added after a last line without its end", "[Settings]\r\nDeltaX1=5", "[Settings]\r\nDeltaX1=5\r\n" +
                                                                                  std::string(kNew)},
        {"added to an empty file", "", kNew},
        {"replaced between two sections, the blank line kept",
         settings + "[printer: hp]\r\nDeltaX1=1\r\nDeltaY1=2\r\n\r\n[Other]\r\na=b\r\n",
         settings + kNew + "\r\n[Other]\r\na=b\r\n"},
        {"replaced at the end without a line end", settings + "[Printer: HP]\r\nDeltaX1=1", settings + kNew},
        {"only the first of two", "[Printer: HP]\nx=1\n[Printer: HP]\nx=2\n", std::string(kNew) + "[Printer: HP]\nx=2\n"},
        {"another printer's section stays", settings + "[Printer: HP2]\r\nDeltaX1=1\r\n",
         settings + "[Printer: HP2]\r\nDeltaX1=1\r\n" + kNew},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReplaceIniSection(c.before, L"Printer: HP", kNew), c.after);
    }
}

TEST(IniSections, ParsingTrimsAndDecodesWindows1251) {
    // "[Printer: Принтер]" in Windows-1251.
    const std::string file = "x=0\r\n[Settings]\r\n DeltaX1 = 5 \r\n;DeltaY1=9\r\nnonsense\r\n"
                             "[Printer: \xCF\xF0\xE8\xED\xF2\xE5\xF0]\nDeltaX1=7";
    const auto sections = ParseIni(file);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].name, L"Settings");
    ASSERT_EQ(sections[0].keys.size(), 1u);
    ASSERT_TRUE(sections[0].Find(L"deltax1"));
    EXPECT_EQ(*sections[0].Find(L"deltax1"), L"5");
    EXPECT_FALSE(sections[0].Find(L"DeltaY1"));
    EXPECT_EQ(sections[1].name, L"Printer: Принтер");
    EXPECT_TRUE(SettingsUnit::SameIniName(sections[1].name, L"PRINTER: ПРИНТЕР"));
    EXPECT_EQ(*sections[1].Find(L"DeltaX1"), L"7");
}

}  // namespace
