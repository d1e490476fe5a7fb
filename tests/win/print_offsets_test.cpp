// The settings file beside the program: how the print offsets are read at start, where the
// file is looked for, and how the stub and the keys are written.
#include <gtest/gtest.h>

#include "shell/offsets/print_offsets.h"
#include "tests/win/host_files.h"
#include "ui/error.h"

namespace {

using hostfiles::ImmutableFile;
using hostfiles::SavedIni;
using hostfiles::ScratchFolder;
using SettingsUnit::PrintOffsets;
using SettingsUnit::TPrintOffsets;

TPrintOffsets offsets(int x1, int x2, int y1, int y2, int c2, int c3, int font) {
    return TPrintOffsets{x1, x2, y1, y2, c2, c3, font};
}

std::string allKeys(const std::string& x1, const std::string& font = "12") {
    return "[Settings]\r\nDeltaX1=" + x1 + "\r\nDeltaX2=2\r\nDeltaY1=-3\r\nDeltaY2=4\r\nDeltaXColumn2=-5\r\n"
           "DeltaXColumn3=6\r\nFontSizeColumn3=" + font + "\r\n";
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { PrintOffsets = offsets(91, 92, 93, 94, 95, 96, 97); }
    void TearDown() override { PrintOffsets = TPrintOffsets{}; }
    SavedIni ini;
};

TEST_F(SettingsFile, ReadingAtStartTakesTheKeysOrFallsBackToDefaultsForAll) {
    const TPrintOffsets defaults = offsets(0, 0, 0, 0, 0, 0, 10);
    struct Case {
        const char* name;
        std::optional<std::string> file;  // nullopt: no file at all
        TPrintOffsets want;
        bool read;            // the file was read without a failure
        bool folder = false;  // a folder stands at the file's place
    };
    const Case cases[] = {
        {"no file", std::nullopt, defaults, false},
        {"all seven keys", allKeys("1"), offsets(1, 2, -3, 4, -5, 6, 12), true},
        {"a value beyond the dialog's range is taken as it is", allKeys("500", "300"), offsets(500, 2, -3, 4, -5, 6, 300),
         true},
        {"letters in one key", allKeys("1", "abc"), defaults, false},
        {"digits then letters", allKeys("12px"), defaults, false},
        {"a key that is present but empty", allKeys(""), defaults, false},
        {"hexadecimal with a dollar sign", allKeys("$1F", "-$A"), offsets(31, 2, -3, 4, -5, 6, -10), true},
        {"a plus sign", allKeys("+7"), offsets(7, 2, -3, 4, -5, 6, 12), true},
        {"the smallest 32-bit value", allKeys("-2147483648"), offsets(-2147483648, 2, -3, 4, -5, 6, 12), true},
        {"one past the largest 32-bit value", allKeys("2147483648"), defaults, false},
        {"a missing key takes its default alone",
         "[Settings]\r\nDeltaX1=8\r\nDeltaY1=9\r\nDeltaY2=10\r\nDeltaXColumn2=11\r\nDeltaXColumn3=12\r\n",
         offsets(8, 0, 9, 10, 11, 12, 10), true},
        {"only the section line", "[Settings]\r\n", defaults, true},
        {"an empty file", "", defaults, true},
        {"keys of another section do not count", "[Other]\r\nDeltaX1=5\r\n[Settings]\r\nDeltaX2=6\r\n",
         offsets(0, 6, 0, 0, 0, 0, 10), true},
        {"a folder named like the file", std::nullopt, defaults, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.file) ini.write(*c.file);
        else ini.clear();
        if (c.folder) CreateDirectoryW(ini.path().c_str(), nullptr);
        PrintOffsets = offsets(91, 92, 93, 94, 95, 96, 97);
        SettingsUnit::LoadPrintOffsets();
        EXPECT_EQ(PrintOffsets, c.want);
        TPrintOffsets read = offsets(91, 92, 93, 94, 95, 96, 97);
        EXPECT_EQ(SettingsUnit::ReadPrintOffsets(read), c.read);
        EXPECT_EQ(read, c.want);
        // Reading never writes.
        EXPECT_EQ(ini.read(), c.file);
    }
}

TEST_F(SettingsFile, LiesBesideTheProgramWhateverTheWorkingDirectory) {
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring exeFolder(exe, n);
    exeFolder.resize(exeFolder.find_last_of(L'\\'));
    EXPECT_EQ(SettingsUnit::IniPath(), exeFolder + L"\\Blk.ini");
    EXPECT_EQ(SettingsUnit::IniName, L"Blk.ini");

    ScratchFolder elsewhere;
    hostfiles::writeBytes(elsewhere.file(L"Blk.ini"), allKeys("77"));
    ini.write(allKeys("5"));
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.path().c_str()));
    EXPECT_EQ(SettingsUnit::IniPath(), exeFolder + L"\\Blk.ini");
    SettingsUnit::LoadPrintOffsets();
    TPrintOffsets written = offsets(1, 1, 1, 1, 1, 1, 1);
    SettingsUnit::WritePrintOffsets(written);
    SetCurrentDirectoryW(before);
    EXPECT_EQ(PrintOffsets.DeltaX1, 5);
    EXPECT_EQ(hostfiles::readBytes(elsewhere.file(L"Blk.ini")), allKeys("77"));
    TPrintOffsets back;
    EXPECT_TRUE(SettingsUnit::ReadPrintOffsets(back));
    EXPECT_EQ(back, written);
}

TEST_F(SettingsFile, TheStubHoldsTheSectionLineAndTheKeysFollowInOrder) {
    SettingsUnit::CreateIniStub();
    EXPECT_EQ(ini.read(), std::string("[Settings]\r\n"));
    SettingsUnit::WritePrintOffsets(offsets(-15, 0, 200, -200, 7, -7, 10));
    EXPECT_EQ(hostfiles::crlfLines(*ini.read()),
              (std::vector<std::string>{"[Settings]", "DeltaX1=-15", "DeltaX2=0", "DeltaY1=200", "DeltaY2=-200",
                                        "DeltaXColumn2=7", "DeltaXColumn3=-7", "FontSizeColumn3=10"}));
    // Writing again replaces the values in place.
    SettingsUnit::WritePrintOffsets(offsets(1, 2, 3, 4, 5, 6, 7));
    TPrintOffsets back;
    EXPECT_TRUE(SettingsUnit::ReadPrintOffsets(back));
    EXPECT_EQ(back, offsets(1, 2, 3, 4, 5, 6, 7));
    EXPECT_EQ(hostfiles::crlfLines(*ini.read()).size(), 8u);
}

TEST_F(SettingsFile, WritingKeepsWhatElseTheFileHolds) {
    ini.write("[Other]\r\nKeep=me\r\n[Settings]\r\nDeltaY1=3\r\n");
    SettingsUnit::WritePrintOffsets(offsets(1, 2, 3, 4, 5, 6, 7));
    auto got = hostfiles::crlfLines(*ini.read());
    EXPECT_NE(std::find(got.begin(), got.end(), "Keep=me"), got.end());
    EXPECT_EQ(std::count(got.begin(), got.end(), "DeltaY1=3"), 1);
    TPrintOffsets back;
    EXPECT_TRUE(SettingsUnit::ReadPrintOffsets(back));
    EXPECT_EQ(back, offsets(1, 2, 3, 4, 5, 6, 7));
}

std::wstring messageOfCall(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const ui::Error& e) {
        return e.message();
    }
    return L"(no error)";
}

TEST_F(SettingsFile, AStubThatCannotBeCreatedNamesThePath) {
    // A folder where the file should be: neither the stub nor the keys can go there.
    CreateDirectoryW(ini.path().c_str(), nullptr);
    EXPECT_FALSE(SettingsUnit::IniFileExists());
    EXPECT_EQ(messageOfCall(SettingsUnit::CreateIniStub), L"Cannot create file " + ini.path());
}

TEST_F(SettingsFile, AStubIsNeverLeftHalfWritten) {
    // An existing file is not replaced by a stub.
    ini.write(allKeys("3"));
    EXPECT_EQ(messageOfCall(SettingsUnit::CreateIniStub), L"Cannot create file " + ini.path());
    EXPECT_EQ(ini.read(), allKeys("3"));
}

TEST_F(SettingsFile, KeysThatCannotBeWrittenNameThePath) {
    ini.write(allKeys("3"));
    // Another program holds the file open and shares nothing.
    HANDLE other = CreateFileW(ini.path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(messageOfCall([] { SettingsUnit::WritePrintOffsets(TPrintOffsets{}); }),
              L"Unable to write to " + ini.path());
    CloseHandle(other);
    EXPECT_EQ(ini.read(), allKeys("3"));
}

TEST_F(SettingsFile, AnImmutableFileCannotTakeTheKeys) {
    ini.write(allKeys("3"));
    ImmutableFile lock(ini.path());
    if (!lock.ready()) GTEST_SKIP() << "cannot make the settings file immutable: " << lock.whyNot();
    EXPECT_TRUE(SettingsUnit::IniFileExists());
    EXPECT_EQ(messageOfCall([] { SettingsUnit::WritePrintOffsets(TPrintOffsets{}); }),
              L"Unable to write to " + ini.path());
    lock.release();
    EXPECT_EQ(ini.read(), allKeys("3"));
}

}  // namespace
