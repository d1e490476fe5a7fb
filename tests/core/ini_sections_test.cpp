// Blk.ini as bytes: the program's keys set in place, every other byte of the file as it
// was, in the file's own encoding.
#include <gtest/gtest.h>

#include "shell/offsets/ini_sections.h"
#include "ui/utf8.h"

namespace {

using SettingsUnit::ParseIni;
using SettingsUnit::SetIniKeys;

using Keys = std::vector<std::pair<std::wstring, std::wstring>>;
const Keys kHp = {{L"DeltaX1", L"4"}, {L"DeltaY1", L"-2"}};

TEST(IniSections, SettingKeysChangesOnlyTheirValuesAndKeepsEveryOtherByte) {
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const std::string settings = "[Settings]\r\nDeltaX1 = 5 \r\n; hand-made\r\nDeltaY1=-3\r\n";
    const Case cases[] = {
        {"a section added after the last line", settings, settings + "[Printer: HP]\r\nDeltaX1=4\r\nDeltaY1=-2\r\n"},
        {"added after a last line without its end", "[Settings]\r\nDeltaX1=5",
         "[Settings]\r\nDeltaX1=5\r\n[Printer: HP]\r\nDeltaX1=4\r\nDeltaY1=-2\r\n"},
        {"added to an empty file", "", "[Printer: HP]\r\nDeltaX1=4\r\nDeltaY1=-2\r\n"},
        {"values in their lines; comment, unknown key, blank line and the next section kept",
         settings + "[printer: hp]\r\n; mine\r\ndeltay1 = 2\r\nColour=red\r\nDeltaX1=1\r\n\r\n[Other]\r\na=b\r\n",
         settings + "[printer: hp]\r\n; mine\r\ndeltay1 =-2\r\nColour=red\r\nDeltaX1=4\r\n\r\n[Other]\r\na=b\r\n"},
        {"a missing key after the section's last key, before its blank line",
         settings + "[Printer: HP]\r\nDeltaY1=1\r\n\r\n[Other]\r\n",
         settings + "[Printer: HP]\r\nDeltaY1=-2\r\nDeltaX1=4\r\n\r\n[Other]\r\n"},
        {"at the end without a line end", settings + "[Printer: HP]\r\nDeltaX1=1",
         settings + "[Printer: HP]\r\nDeltaX1=4\r\nDeltaY1=-2\r\n"},
        {"only the first of two sections, in LF lines", "[Printer: HP]\nx=1\n[Printer: HP]\nDeltaX1=2\n",
         "[Printer: HP]\nx=1\nDeltaX1=4\nDeltaY1=-2\n[Printer: HP]\nDeltaX1=2\n"},
        {"another printer's section stays", settings + "[Printer: HP2]\r\nDeltaX1=1\r\n",
         settings + "[Printer: HP2]\r\nDeltaX1=1\r\n[Printer: HP]\r\nDeltaX1=4\r\nDeltaY1=-2\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SetIniKeys(c.before, L"Printer: HP", kHp), c.after);
    }
}

TEST(IniSections, AFileInUtf8IsReadAndWrittenInUtf8) {
    const std::string printer = ui::toUtf8(L"Принтер «Кабинет 3»");
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        SCOPED_TRACE(bom.size());
        const std::string file = bom + "[Settings]\r\nDeltaX1=1\r\n[Printer: " + printer + "]\r\nDeltaX1=7\r\n";
        EXPECT_TRUE(SettingsUnit::IniIsUtf8(file));
        const auto sections = ParseIni(file);
        ASSERT_EQ(sections.size(), 2u);
        EXPECT_EQ(sections[0].name, L"Settings");
        EXPECT_EQ(sections[1].name, L"Printer: Принтер «Кабинет 3»");
        // The same section again, not a second one in Windows-1251.
        EXPECT_EQ(SetIniKeys(file, L"PRINTER: ПРИНТЕР «КАБИНЕТ 3»", {{L"DeltaX1", L"-5"}}),
                  bom + "[Settings]\r\nDeltaX1=1\r\n[Printer: " + printer + "]\r\nDeltaX1=-5\r\n");
        // Letters Windows-1251 lacks can stand in a UTF-8 file.
        EXPECT_TRUE(SettingsUnit::IniCanHoldName(file, L"Printer: \u4E2D"));
    }
}

TEST(IniSections, ParsingTrimsUnquotesAndDecodesWindows1251AndNamesThatCannotBeWrittenAreRefused) {
    // "[Printer: Принтер]" in Windows-1251.
    const std::string file = "x=0\r\n[Settings]\r\n DeltaX1 = 5 \r\n;DeltaY1=9\r\nnonsense\r\nPicture1=\"C:\\a b\"\r\n"
                             "[Printer: \xCF\xF0\xE8\xED\xF2\xE5\xF0]\nDeltaX1=7";
    EXPECT_FALSE(SettingsUnit::IniIsUtf8(file));
    const auto sections = ParseIni(file);
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].name, L"Settings");
    ASSERT_EQ(sections[0].keys.size(), 2u);
    ASSERT_TRUE(sections[0].Find(L"deltax1"));
    EXPECT_EQ(*sections[0].Find(L"deltax1"), L"5");
    EXPECT_EQ(*sections[0].Find(L"Picture1"), L"C:\\a b");
    EXPECT_FALSE(sections[0].Find(L"DeltaY1"));
    EXPECT_EQ(sections[1].name, L"Printer: Принтер");
    EXPECT_TRUE(SettingsUnit::SameIniName(sections[1].name, L"PRINTER: ПРИНТЕР"));
    EXPECT_EQ(*sections[1].Find(L"DeltaX1"), L"7");

    for (const wchar_t* bad : {L"Printer: A[1]", L"Printer: \u4E2D", L"Printer: a\r\nb"}) {
        EXPECT_FALSE(SettingsUnit::IniCanHoldName(file, bad));
        EXPECT_EQ(SetIniKeys(file, bad, kHp), std::nullopt);
    }
    EXPECT_EQ(SetIniKeys(file, L"Settings", {{L"DeltaX1", L"\u4E2D"}}), std::nullopt);
}

}  // namespace
