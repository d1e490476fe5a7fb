// The state file's replacing write: a new file appears whole or not at all, a failed save
// leaves the file it would replace as it was and no temporary file behind.
#include <gtest/gtest.h>

#include <functional>

#include "report/export/ascii_export_filter.h"
#include "report/run/byte_stream.h"
#include "report/run/page_file.h"
#include "report/run/page_list.h"
#include "shell/main/system_set.h"
#include "shell/state/state_file_io.h"
#include "tests/core/emf_builder.h"
#include "tests/win/host_files.h"
#include "ui/io_error.h"

namespace {

using hostfiles::ImmutableFile;
using hostfiles::listFolder;
using hostfiles::readBytes;
using hostfiles::ScratchFolder;
using hostfiles::SmallDisk;
using hostfiles::writeBytes;
using SystemSet::ReadWholeFile;
using SystemSet::WriteFileReplacing;

std::string pattern(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
    return s;
}

TEST(WriteFileReplacing, WritesTheBytesExactlyAndReplacesAnOldFileCompletely) {
    struct Case {
        const char* name;
        std::optional<std::string> old;
        std::string bytes;
    };
    const Case cases[] = {
        {"new empty file", std::nullopt, ""},
        {"new file", std::nullopt, "line\r\n\x1A\r\n"},
        {"bytes of every value, larger than one write", std::nullopt, pattern(3 * 1024 * 1024 + 17)},
        {"shorter than the old file", std::string(5000, 'o'), "new\r\n"},
        {"longer than the old file", std::string("old"), pattern(70000)},
        {"over an empty file", std::string(), "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        std::wstring target = folder.file(L"Set1.Blk");
        if (c.old) {
            ASSERT_TRUE(writeBytes(target, *c.old));
        }
        EXPECT_EQ(WriteFileReplacing(target, c.bytes), 0);
        EXPECT_EQ(readBytes(target), c.bytes);
        EXPECT_EQ(listFolder(folder.path()), std::vector<std::wstring>{L"Set1.Blk"});
    }
}

TEST(WriteFileReplacing, AFolderRelativeNameWritesIntoTheWorkingDirectory) {
    ScratchFolder folder;
    wchar_t before[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    int code = WriteFileReplacing(L"Set1.Blk", "abc");
    SetCurrentDirectoryW(before);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(readBytes(folder.file(L"Set1.Blk")), std::string("abc"));
    EXPECT_EQ(listFolder(folder.path()), std::vector<std::wstring>{L"Set1.Blk"});
}

// What a failed write must leave: the old file's bytes and nothing else in its folder.
void expectUntouched(const std::wstring& folder, const std::wstring& target, const std::optional<std::string>& old,
                     const std::vector<std::wstring>& namesBefore) {
    EXPECT_EQ(readBytes(target), old);
    EXPECT_EQ(listFolder(folder), namesBefore);
}

TEST(WriteFileReplacing, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    struct Case {
        const char* name;
        std::function<std::wstring(const ScratchFolder&)> prepare;  // gives the target
        int code;
    };
    const std::string old = "old contents\r\n";
    const Case cases[] = {
        {"folder that does not exist", [](const ScratchFolder& f) { return f.file(L"missing\\Set1.Blk"); }, 3},
        {"read-only file",
         [&](const ScratchFolder& f) {
             writeBytes(f.file(L"Set1.Blk"), old);
             SetFileAttributesW(f.file(L"Set1.Blk").c_str(), FILE_ATTRIBUTE_READONLY);
             return f.file(L"Set1.Blk");
         },
         5},
        {"a folder of that name",
         [](const ScratchFolder& f) {
             CreateDirectoryW(f.file(L"Set1.Blk").c_str(), nullptr);
             return f.file(L"Set1.Blk");
         },
         5},
        {"name with a character the system refuses", [](const ScratchFolder& f) { return f.file(L"Set|1.Blk"); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        std::wstring target = c.prepare(folder);
        auto before = readBytes(target);
        auto names = listFolder(folder.path());
        EXPECT_EQ(WriteFileReplacing(target, "new bytes\r\n"), c.code);
        expectUntouched(folder.path(), target, before, names);
    }
}

TEST(WriteFileReplacing, AFullDiskKeepsTheOldFile) {
    SmallDisk disk;
    if (!disk.ready()) GTEST_SKIP() << "no small file system for the full-disk case: " << disk.whyNot();
    std::wstring target = disk.file(L"Set1.Blk");
    const std::string old(3000, 'o');
    ASSERT_TRUE(writeBytes(target, old));
    ASSERT_TRUE(disk.fill(L"filler"));
    auto names = listFolder(disk.path());
    EXPECT_EQ(WriteFileReplacing(target, std::string(20000, 'n')), 101);
    expectUntouched(disk.path(), target, old, names);
    EXPECT_EQ(ui::IoErrorMessage(101), L"Disk full");
}

TEST(WriteFileReplacing, ASavedReportAndATextExportKeepTheOldFileOnAFullDisk) {
    SmallDisk disk;
    if (!disk.ready()) GTEST_SKIP() << "no small file system for the full-disk case: " << disk.whyNot();
    const std::wstring report = disk.file(L"old.REP"), text = disk.file(L"old.TXT");
    const std::string oldReport(2000, 'r'), oldText = "old text\r\n";
    ASSERT_TRUE(writeBytes(report, oldReport));
    ASSERT_TRUE(writeBytes(text, oldText));
    ASSERT_TRUE(disk.fill(L"filler"));
    const auto names = listFolder(disk.path());
    {
        // A store of its own, not a report printer: after the disk's host command, Wine in
        // this process no longer loads a printer driver.
        rep::MemoryStream store;
        rep::TRepPageList pages;
        pages.Attach(store);
        for (std::uint32_t i = 1; i <= 3; ++i) pages.AddPage(emftest::MinimalEmf(2000, i));
        pages.WriteHeader();
        EXPECT_ANY_THROW(rep::SaveToFile(pages, report));
    }
    {
        rep::TRepAsciiExportFilter filter(text);
        filter.BeginExport(2100, 2970, rep::TRepFont{});
        filter.BeginPage();
        filter.WriteText(100, 100, rep::TRepFont{}, 0, rep::TRepTextAlign::LeftJustify, std::wstring(30000, L'x'));
        filter.FinishPage();
        EXPECT_ANY_THROW(filter.EndExport());
    }
    expectUntouched(disk.path(), report, oldReport, names);
    expectUntouched(disk.path(), text, oldText, names);
}

TEST(WriteFileReplacing, AFileNobodyMayReplaceKeepsItsContents) {
    ScratchFolder folder;
    std::wstring target = folder.file(L"Set1.Blk");
    const std::string old = "kept\r\n";
    ASSERT_TRUE(writeBytes(target, old));
    ImmutableFile lock(target);
    if (!lock.ready()) GTEST_SKIP() << "cannot make an immutable file: " << lock.whyNot();
    auto names = listFolder(folder.path());
    EXPECT_EQ(WriteFileReplacing(target, "new\r\n"), 5);
    expectUntouched(folder.path(), target, old, names);
    lock.release();
}

TEST(WriteFileReplacing, AFolderNobodyMayWriteToKeepsTheOldFile) {
    ScratchFolder folder;
    std::wstring target = folder.file(L"Set1.Blk");
    const std::string old = "kept\r\n";
    ASSERT_TRUE(writeBytes(target, old));
    // Root writes into read-only folders; an immutable folder refuses even root.
    ImmutableFile lock(folder.path());
    if (!lock.ready()) GTEST_SKIP() << "cannot make an immutable folder: " << lock.whyNot();
    EXPECT_EQ(WriteFileReplacing(target, "new\r\n"), 5);
    lock.release();
    expectUntouched(folder.path(), target, old, {L"Set1.Blk"});
}

TEST(ReadWholeFile, GivesEveryByteOrNothing) {
    ScratchFolder folder;
    const std::string bytes = std::string("a\0b\r\n\x1A", 6) + pattern(100000);
    writeBytes(folder.file(L"full.Blk"), bytes);
    writeBytes(folder.file(L"empty.Blk"), "");
    CreateDirectoryW(folder.file(L"folder.Blk").c_str(), nullptr);
    EXPECT_EQ(ReadWholeFile(folder.file(L"full.Blk")), bytes);
    EXPECT_EQ(ReadWholeFile(folder.file(L"empty.Blk")), std::string());
    EXPECT_EQ(ReadWholeFile(folder.file(L"none.Blk")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder.file(L"folder.Blk")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder.file(L"missing\\x.Blk")), std::nullopt);
}

TEST(ReadWholeFile, ReadsAFileAnotherProgramHasOpenForWriting) {
    ScratchFolder folder;
    std::wstring name = folder.file(L"open.Blk");
    writeBytes(name, "shared");
    HANDLE other = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadWholeFile(name), std::string("shared"));
    CloseHandle(other);
}

TEST(IoErrorMessage, NamesTheRuntimeErrors) {
    struct Case {
        int code;
        const wchar_t* message;
    };
    const Case cases[] = {
        {2, L"File not found"},         {3, L"Invalid filename"},  {4, L"Too many open files"},
        {5, L"File access denied"},     {100, L"Read beyond end of file"}, {101, L"Disk full"},
        {106, L"Invalid numeric input"}, {32, L"I/O error 32"},    {112, L"I/O error 112"},
    };
    for (const Case& c : cases) EXPECT_EQ(ui::IoErrorMessage(c.code), c.message) << c.code;
}

}  // namespace
