// The file stream under the page store: the same answers as a memory stream, with its
// reads cached, its share mode, and the system's failures named.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "report/run/byte_stream.h"
#include "report/run/file_stream.h"
#include "report/run/rep_error.h"
#include "tests/win/page_pictures.h"
#include "ui/utf8.h"

namespace {

using pagetest::FileBytes;
using pagetest::ScratchFolder;
using pagetest::Pattern;
using rep::FileStream;

struct Mix {
    const char* name;
    std::uint32_t seed;
    std::size_t largest;  // largest read or write
    int ops;
};

// Random seeks, reads and writes, on the file and on a memory stream side by side.
TEST(FileStream, AnswersAsAMemoryStreamDoes) {
    const Mix mixes[] = {
        {"fields", 1, 8, 4000},
        {"fields and blocks", 2, 6000, 1500},
        {"around block edges", 3, 4100, 1500},
        {"large", 4, 40000, 300},
    };
    for (const Mix& m : mixes) {
        SCOPED_TRACE(m.name);
        ScratchFolder folder;
        const std::wstring name = folder.file(L"mix.bin");
        rep::MemoryStream model;
        {
            FileStream file(name, FileStream::Mode::Create);
            std::mt19937 rng(m.seed);
            for (int i = 0; i < m.ops; ++i) {
                const std::size_t n = std::uniform_int_distribution<std::size_t>(0, m.largest)(rng);
                switch (rng() % 3) {
                    case 0: {
                        const auto to = std::uniform_int_distribution<std::int64_t>(0, model.Size())(rng);
                        model.Seek(to);
                        file.Seek(to);
                        break;
                    }
                    case 1: {
                        std::vector<std::uint8_t> want(n), got(n);
                        bool modelFailed = false, fileFailed = false;
                        const auto at = model.Position();
                        try { model.Read(want.data(), n); } catch (const rep::ERepError&) { modelFailed = true; }
                        try { file.Read(got.data(), n); } catch (const rep::ERepError&) { fileFailed = true; }
                        ASSERT_EQ(fileFailed, modelFailed) << "read " << n << " at " << at;
                        if (modelFailed) {
                            model.Seek(at);
                            file.Seek(at);
                        } else {
                            ASSERT_EQ(got, want) << "read " << n << " at " << at;
                        }
                        break;
                    }
                    default: {
                        const auto bytes = Pattern(n, static_cast<std::uint32_t>(i));
                        model.Write(bytes.data(), n);
                        file.Write(bytes.data(), n);
                        break;
                    }
                }
                ASSERT_EQ(file.Position(), model.Position());
                ASSERT_EQ(file.Size(), model.Size());
            }
        }
        const auto bytes = model.Bytes();
        EXPECT_EQ(FileBytes(name), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
}

TEST(FileStream, ShortReadsAndSeeksOutsideThrow) {
    ScratchFolder folder;
    FileStream file(folder.file(L"short.bin"), FileStream::Mode::Create);
    const auto bytes = Pattern(5000, 9);
    file.Write(bytes.data(), bytes.size());

    struct Case {
        std::int64_t at;
        std::size_t read;
    };
    for (const Case c : {Case{4999, 2}, Case{5000, 1}, Case{0, 5001}, Case{1000, 4001}, Case{4096, 905}}) {
        SCOPED_TRACE(c.at);
        file.Seek(c.at);
        std::vector<std::uint8_t> out(c.read);
        EXPECT_THROW(file.Read(out.data(), out.size()), rep::ERepError);
    }
    EXPECT_THROW(file.Seek(-1), rep::ERepError);
    EXPECT_THROW(file.Seek(5001), rep::ERepError);
    file.Seek(5000);
    EXPECT_EQ(file.Position(), 5000);
}

TEST(FileStream, WritesShowInReadsThatWereCached) {
    ScratchFolder folder;
    FileStream file(folder.file(L"rw.bin"), FileStream::Mode::Create);
    const auto bytes = Pattern(6000, 5);
    file.Write(bytes.data(), bytes.size());

    // Fields read (and so cached), overwritten, read again.
    rep::MemoryStream original(bytes);
    original.Seek(100);
    file.Seek(100);
    EXPECT_EQ(rep::ReadI32(file), rep::ReadI32(original));
    file.Seek(100);
    rep::WriteI32(file, 0x12345678);
    file.Seek(100);
    EXPECT_EQ(rep::ReadI32(file), 0x12345678);

    // A write across a block edge.
    file.Seek(4090);
    std::uint8_t before[12];
    file.Read(before, sizeof before);
    const std::uint8_t across[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    file.Seek(4090);
    file.Write(across, sizeof across);
    file.Seek(4090);
    std::uint8_t after[12];
    file.Read(after, sizeof after);
    EXPECT_EQ(0, std::memcmp(after, across, sizeof after));

    // The last, partly filled block grows with appends.
    file.Seek(5996);
    EXPECT_NO_THROW(rep::ReadI32(file));
    rep::WriteI32(file, 77);
    rep::WriteI32(file, 78);
    file.Seek(6000);
    EXPECT_EQ(rep::ReadI32(file), 77);
    EXPECT_EQ(rep::ReadI32(file), 78);
    EXPECT_EQ(file.Size(), 6008);
}

TEST(FileStream, FieldsCloseTogetherCostOneSystemRead) {
    ScratchFolder folder;
    const std::wstring name = folder.file(L"walk.bin");
    {
        FileStream file(name, FileStream::Mode::Create);
        const auto bytes = Pattern(200000, 6);
        file.Write(bytes.data(), bytes.size());
    }
    FileStream file(name, FileStream::Mode::OpenRead);
    for (int i = 0; i < 1024; ++i) rep::ReadI32(file);  // the first 4096 bytes
    EXPECT_EQ(file.ReadCalls(), 1u);

    // A record walk: the start of a record, then the field at its end, which sits
    // next to the start of the following record.
    const std::uint64_t before = file.ReadCalls();
    const int records = 40;
    for (int r = 0; r < records; ++r) {
        const std::int64_t start = 8000 + r * 4000;
        file.Seek(start);
        rep::ReadI32(file);
        rep::ReadI32(file);
        file.Seek(start + 4000 - 4);
        rep::ReadI32(file);
    }
    EXPECT_LE(file.ReadCalls() - before, static_cast<std::uint64_t>(records + 1));
}

TEST(FileStream, OpenFailuresNameTheFileAndTheCause) {
    ScratchFolder folder;
    struct Case {
        std::wstring name;
        FileStream::Mode mode;
        DWORD code;
    };
    const Case cases[] = {
        {folder.file(L"missing.REP"), FileStream::Mode::OpenRead, ERROR_FILE_NOT_FOUND},
        {folder.file(L"no folder\\a.REP"), FileStream::Mode::OpenRead, ERROR_PATH_NOT_FOUND},
        {folder.file(L"no folder\\a.REP"), FileStream::Mode::Create, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ui::toUtf8(c.name));
        try {
            FileStream file(c.name, c.mode);
            ADD_FAILURE() << "opened";
        } catch (const rep::EFileAccessError& e) {
            EXPECT_EQ(e.Code(), c.code);
            EXPECT_NE(std::string(e.what()).find(ui::toUtf8(c.name)), std::string::npos) << e.what();
        }
    }
}

TEST(FileStream, AnOpenReportCanBeReadButNotWritten) {
    ScratchFolder folder;
    const std::wstring name = folder.file(L"Отчёт.REP");
    const auto bytes = Pattern(3000, 7);
    {
        FileStream file(name, FileStream::Mode::Create);
        file.Write(bytes.data(), bytes.size());
    }
    {
        FileStream shown(name, FileStream::Mode::OpenRead);
        EXPECT_EQ(shown.Size(), 3000);
        EXPECT_NO_THROW(FileStream(name, FileStream::Mode::OpenRead));

        const std::uint8_t x = 1;
        EXPECT_THROW(shown.Write(&x, 1), rep::EFileAccessError);
        try {
            FileStream overwrite(name, FileStream::Mode::Create);
            ADD_FAILURE() << "an open report was truncated";
        } catch (const rep::EFileAccessError& e) {
            EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        }
        std::vector<std::uint8_t> back(3000);
        shown.Seek(0);
        shown.Read(back.data(), back.size());
        EXPECT_EQ(back, bytes);
    }
    EXPECT_EQ(FileBytes(name), bytes);
    EXPECT_NO_THROW(FileStream(name, FileStream::Mode::Create));
    EXPECT_TRUE(FileBytes(name).empty());
}

}  // namespace
