// The page-store stream: in memory up to its limit, then one temporary file that goes
// with it; a saved report read in place.
#include <gtest/gtest.h>

#include <cwctype>
#include <optional>
#include <random>

#include "report/run/file_stream.h"
#include "report/run/rep_stream.h"
#include "tests/win/page_pictures.h"
#include "ui/utf8.h"

namespace {

using pagetest::FileBytes;
using pagetest::FileExists;
using pagetest::ScratchFolder;
using pagetest::Pattern;
using pagetest::Lower;
using pagetest::TempFolder;
using rep::TRepStream;

// Writes `total` bytes in pieces of `piece` bytes.
void WriteInPieces(TRepStream& s, const std::vector<std::uint8_t>& bytes, std::size_t piece) {
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        s.Write(bytes.data() + at, std::min(piece, bytes.size() - at));
}

std::vector<std::uint8_t> ReadAll(TRepStream& s) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(s.Size()));
    s.Seek(0);
    s.Read(bytes.data(), bytes.size());
    return bytes;
}

TEST(RepStream, MovesToATemporaryFileOnlyPastTheLimit) {
    struct Case {
        std::size_t total;
        std::size_t piece;
        bool spills;
    };
    const Case cases[] = {
        {100000, 100000, false}, {100000, 4, false},   {100000, 10240, false},
        {100001, 100001, true},  {100001, 4, true},    {100001, 100000, true},
        {250000, 30000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.total << " bytes in pieces of " << c.piece);
        const auto bytes = Pattern(c.total, static_cast<std::uint32_t>(c.total + c.piece));
        std::wstring tempName;
        {
            TRepStream s;
            EXPECT_EQ(s.MemoryLimit(), 100000);
            WriteInPieces(s, bytes, c.piece);
            EXPECT_EQ(s.InMemory(), !c.spills);
            EXPECT_EQ(s.Position(), static_cast<std::int64_t>(c.total));
            EXPECT_EQ(s.Size(), static_cast<std::int64_t>(c.total));
            tempName = s.TempFileName();
            if (!c.spills) {
                EXPECT_TRUE(tempName.empty());
            } else {
                const std::wstring folder = Lower(TempFolder());
                const std::wstring lower = Lower(tempName);
                EXPECT_EQ(lower.substr(0, folder.size() + 3), folder + L"rep") << ui::toUtf8(tempName);
                EXPECT_EQ(lower.substr(lower.size() - 4), L".tmp") << ui::toUtf8(tempName);
                EXPECT_EQ(lower.find(L'\\', folder.size()), std::wstring::npos);
                EXPECT_EQ(FileBytes(tempName), bytes);
            }
            EXPECT_EQ(ReadAll(s), bytes);
        }
        if (c.spills) {
            EXPECT_FALSE(FileExists(tempName)) << ui::toUtf8(tempName);
        }
    }
}

TEST(RepStream, KeepsThePositionAndGoesOnInTheFile) {
    const auto first = Pattern(99990, 1);
    TRepStream s;
    s.Write(first.data(), first.size());
    // Overwriting inside does not grow the store, so it stays in memory.
    const std::uint8_t patch[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    s.Seek(500);
    s.Write(patch, sizeof patch);
    EXPECT_TRUE(s.InMemory());
    EXPECT_EQ(s.Position(), 508);

    // A write that runs past the end and past the limit.
    const auto tail = Pattern(30, 2);
    s.Seek(99980);
    s.Write(tail.data(), tail.size());
    EXPECT_FALSE(s.InMemory());
    EXPECT_EQ(s.Position(), 100010);
    EXPECT_EQ(s.Size(), 100010);

    // Writes and reads now go to the file.
    rep::WriteI32(s, 424242);
    s.Seek(500);
    std::uint8_t back[8];
    s.Read(back, sizeof back);
    EXPECT_EQ(0, std::memcmp(back, patch, sizeof back));
    s.Seek(100010);
    EXPECT_EQ(rep::ReadI32(s), 424242);

    auto want = first;
    std::copy(std::begin(patch), std::end(patch), want.begin() + 500);
    want.resize(99980);
    want.insert(want.end(), tail.begin(), tail.end());
    for (std::uint8_t b : {0x32, 0x79, 0x06, 0x00}) want.push_back(b);  // 424242, little-endian
    EXPECT_EQ(FileBytes(s.TempFileName()), want);
}

// Points the system's temporary folder elsewhere for one scope.
class TempFolderSetting {
public:
    explicit TempFolderSetting(const std::wstring& folder) {
        for (const wchar_t* name : {L"TMP", L"TEMP"}) {
            wchar_t value[MAX_PATH + 1] = {};
            const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH + 1);
            saved_.emplace_back(name, n ? std::optional<std::wstring>(value) : std::nullopt);
            SetEnvironmentVariableW(name, folder.c_str());
        }
    }
    ~TempFolderSetting() {
        for (const auto& [name, value] : saved_)
            SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
    }

private:
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

TEST(RepStream, ATemporaryFileThatCannotBeMadeFailsTheWrite) {
    const auto bytes = Pattern(100001, 3);
    TRepStream s;
    s.Write(bytes.data(), 99000);
    {
        const std::wstring nowhere = TempFolder() + L"no such folder " +
                                     std::to_wstring(GetCurrentProcessId()) + L"\\";
        TempFolderSetting redirect(nowhere);
        try {
            s.Write(bytes.data() + 99000, 1001);
            ADD_FAILURE() << "the write succeeded";
        } catch (const rep::EFileAccessError& e) {
            EXPECT_NE(e.Code(), 0u);
            EXPECT_NE(std::string(e.what()).find(ui::toUtf8(nowhere)), std::string::npos) << e.what();
        }
        EXPECT_TRUE(s.InMemory());
        EXPECT_TRUE(s.TempFileName().empty());
    }
    // Nothing was lost, and the next write finds the folder again.
    EXPECT_EQ(ReadAll(s), bytes);
    rep::WriteI32(s, 5);
    EXPECT_FALSE(s.InMemory());
    EXPECT_TRUE(FileExists(s.TempFileName()));
}

TEST(RepStream, ASavedFileIsReadInPlaceAndKept) {
    ScratchFolder folder;
    const std::wstring name = folder.file(L"saved.REP");
    const auto bytes = Pattern(12345, 4);
    pagetest::WriteFileBytes(name, bytes);
    {
        const auto s = TRepStream::OpenFile(name);
        EXPECT_FALSE(s->InMemory());
        EXPECT_EQ(s->MemoryLimit(), 0);
        EXPECT_TRUE(s->TempFileName().empty());
        EXPECT_EQ(s->FileName(), name);
        EXPECT_EQ(ReadAll(*s), bytes);
        EXPECT_THROW(rep::WriteI32(*s, 1), rep::EFileAccessError);
    }
    EXPECT_EQ(FileBytes(name), bytes);

    try {
        TRepStream::OpenFile(folder.file(L"missing.REP"));
        ADD_FAILURE() << "opened a missing file";
    } catch (const rep::EFileAccessError& e) {
        EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    }
}

}  // namespace
