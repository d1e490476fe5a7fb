#include "report/run/page_list.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "report/run/compress.h"
#include "report/run/rep_error.h"
#include "tests/core/emf_builder.h"

namespace rep {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr double kTime = 45351.25;  // 2024-02-29 06:00

std::int32_t I32At(const Bytes& b, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

void SetI32(Bytes& b, std::size_t at, std::int32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}

Bytes Contents(const MemoryStream& s) {
    return Bytes(s.Bytes().begin(), s.Bytes().end());
}

Bytes PageBytes(int n, bool textPage = false) {
    return textPage ? emftest::TextPageEmf(static_cast<std::uint32_t>(n), 20 + 10 * n)
                    : emftest::MinimalEmf(108 + 40 * static_cast<std::size_t>(n), n);
}

// Runs a document of `count` pages into a memory page store and returns the file bytes.
Bytes MakeFile(int count, bool compressed, bool textPages = false) {
    MemoryStream store;
    TRepPageList list([] { return kTime; });
    list.SetCompression(compressed);
    list.Attach(store);
    for (int n = 1; n <= count; ++n)
        list.AddPage(PageBytes(n, textPages));
    list.WriteHeader();
    MemoryStream file;
    list.CopyTo(file);
    return file.Release();
}

struct Record {
    std::int64_t start, page, next, back;
};

// Follows the forward links from offset 124, as a reader of the file format would.
std::vector<Record> Records(const Bytes& file) {
    std::vector<Record> out;
    for (std::size_t at = 124; at + 12 <= file.size();) {
        Record r{static_cast<std::int64_t>(at), I32At(file, at), I32At(file, at + 4), 0};
        if (r.next <= r.start || r.next > static_cast<std::int64_t>(file.size()))
            break;
        r.back = I32At(file, static_cast<std::size_t>(r.next) - 4);
        out.push_back(r);
        at = static_cast<std::size_t>(r.next);
    }
    return out;
}

struct Loaded {
    MemoryStream stream;
    TRepPageList list;
    explicit Loaded(Bytes file) : stream(std::move(file)) { list.Open(stream); }
};

TEST(TRepPageList, HeaderBytes) {
    for (bool compressed : {false, true}) {
        double now = 100.5;
        MemoryStream store;
        TRepPageList list([&] { return now; });
        list.SetCompression(compressed);
        list.Attach(store);
        list.AddPage(PageBytes(1));
        list.AddPage(PageBytes(2));
        EXPECT_EQ(I32At(Contents(store), 8), 1) << "written with page 1";
        list.AddPage(PageBytes(3));
        now = 200.75;
        list.WriteHeader();

        Bytes expected(124, 0);
        expected[0] = 3;
        expected[2] = 203;
        expected[8] = 3;
        const auto time = std::bit_cast<std::array<std::uint8_t, 8>>(now);
        std::copy(time.begin(), time.end(), expected.begin() + 12);
        expected[21] = compressed ? 1 : 0;
        EXPECT_EQ(Bytes(store.Bytes().begin(), store.Bytes().begin() + 124), expected);
    }
}

TEST(TRepPageList, RecordLayout) {
    for (bool compressed : {false, true}) {
        for (int count : {1, 4}) {
            const Bytes file = MakeFile(count, compressed);
            const auto records = Records(file);
            ASSERT_EQ(static_cast<int>(records.size()), count);
            EXPECT_EQ(records.front().start, 124);
            EXPECT_EQ(records.back().next, static_cast<std::int64_t>(file.size()));
            for (int i = 0; i < count; ++i) {
                const Record& r = records[static_cast<std::size_t>(i)];
                EXPECT_EQ(r.page, i + 1);
                EXPECT_EQ(r.back, r.start);
                const Bytes page = PageBytes(i + 1);
                const auto data = static_cast<std::size_t>(r.next - r.start - 12);
                if (!compressed) {
                    EXPECT_EQ(data, page.size());
                    EXPECT_TRUE(std::equal(page.begin(), page.end(), file.begin() + r.start + 8));
                } else {
                    EXPECT_EQ(I32At(file, static_cast<std::size_t>(r.start) + 8),
                              static_cast<std::int32_t>(page.size()));
                }
            }
        }
    }
}

TEST(TRepPageList, EmptyPageCompressesToItsLengthField) {
    MemoryStream store;
    TRepPageList list([] { return kTime; });
    list.SetCompression(true);
    list.Attach(store);
    list.AddPage({});
    EXPECT_EQ(store.Size(), 124 + 16);
    EXPECT_EQ(I32At(store.Release(), 132), 0);
}

TEST(TRepPageList, PagesInAnyOrderFromAnyPosition) {
    const std::vector<std::vector<int>> orders = {{3, 1, 5},       {1, 2, 3, 4, 5}, {5, 4, 3, 2, 1},
                                                  {2, 4, 1, 5, 3}, {4, 4, 2, 2, 3}, {0, 6, 2}};
    for (bool compressed : {false, true}) {
        for (bool textPages : {false, true}) {
            Loaded file(MakeFile(5, compressed, textPages));
            EXPECT_EQ(file.list.PageCount(), 5);
            EXPECT_EQ(file.list.Compression(), compressed);
            for (const auto& order : orders) {
                for (int n : order) {
                    const auto page = file.list.GetPage(n);
                    if (n < 1 || n > 5)
                        EXPECT_FALSE(page.has_value()) << n;
                    else
                        EXPECT_EQ(page, PageBytes(n, textPages)) << n;
                }
            }
            std::mt19937 rng(5);
            for (int i = 0; i < 200; ++i) {
                const int n = 1 + static_cast<int>(rng() % 5);
                if (i % 3 == 0) {
                    file.list.SeekToPage(n);
                    EXPECT_EQ(I32At(Contents(file.stream),
                                    static_cast<std::size_t>(file.stream.Position())),
                              n);
                } else {
                    ASSERT_EQ(file.list.GetPage(n), PageBytes(n, textPages)) << n;
                }
            }
        }
    }
}

TEST(TRepPageList, PagesAreReadableDuringTheRun) {
    MemoryStream store;
    TRepPageList list([] { return kTime; });
    list.SetCompression(true);
    list.Attach(store);
    for (int n = 1; n <= 6; ++n) {
        list.AddPage(PageBytes(n));
        EXPECT_EQ(list.GetPage(n), PageBytes(n));
        EXPECT_EQ(list.GetPage(1), PageBytes(1));
        EXPECT_FALSE(list.GetPage(n + 1).has_value());
    }
    EXPECT_NO_THROW(list.SetCompression(true));
    EXPECT_THROW(list.SetCompression(false), ERepError);
    EXPECT_EQ(list.GetPage(6), PageBytes(6));
}

// A page store that logs its writes and can run out of room.
class TestStream final : public ByteStream {
public:
    void Read(void* d, std::size_t n) override { inner.Read(d, n); }
    void Write(const void* d, std::size_t n) override {
        if (inner.Position() + static_cast<std::int64_t>(n) > limit)
            throw ERepError("disk full");
        writes.push_back(n);
        inner.Write(d, n);
    }
    void Seek(std::int64_t p) override { inner.Seek(p); }
    std::int64_t Position() const override { return inner.Position(); }
    std::int64_t Size() const override { return inner.Size(); }
    MemoryStream inner;
    std::vector<std::size_t> writes;
    std::int64_t limit = INT64_MAX;
};

TEST(TRepPageList, CopyIsTheWholeStoreInChunks) {
    MemoryStream store;
    TRepPageList list([] { return kTime; });
    list.Attach(store);
    for (int n = 1; n <= 30; ++n)
        list.AddPage(PageBytes(n, true));
    list.WriteHeader();
    list.GetPage(7);
    const std::int64_t position = store.Position();
    TestStream out;
    list.CopyTo(out);
    EXPECT_EQ(Contents(out.inner), Contents(store));
    ASSERT_GT(out.writes.size(), 2u);
    for (std::size_t i = 0; i + 1 < out.writes.size(); ++i)
        EXPECT_EQ(out.writes[i], kCopyChunk);
    EXPECT_EQ(store.Position(), position);
    EXPECT_EQ(list.GetPage(8), PageBytes(8, true));
}

TEST(TRepPageList, AStoreWithoutPagesCopiesToAFileOfNoPages) {
    for (bool header : {false, true}) {
        MemoryStream store;
        TRepPageList list([] { return kTime; });
        list.SetCompression(true);
        list.Attach(store);
        if (header)
            list.WriteHeader();
        MemoryStream file;
        list.CopyTo(file);
        ASSERT_EQ(file.Size(), 124);
        EXPECT_EQ(I32At(Contents(file), 8), 0);
        Loaded loaded(file.Release());
        EXPECT_EQ(loaded.list.PageCount(), 0);
        EXPECT_TRUE(loaded.list.Compression());
        EXPECT_FALSE(loaded.list.GetPage(1));
    }
}

TEST(TRepPageList, FailedAppendLeavesTheStoredPagesIntact) {
    for (bool compressed : {false, true}) {
        TestStream store;
        TRepPageList list([] { return kTime; });
        list.SetCompression(compressed);
        list.Attach(store);
        list.AddPage(PageBytes(1, true));
        list.AddPage(PageBytes(2, true));
        store.limit = store.Size() + 100;
        EXPECT_THROW(list.AddPage(PageBytes(3, true)), ERepError);
        EXPECT_EQ(list.PageCount(), 2);
        EXPECT_EQ(list.GetPage(2), PageBytes(2, true));
        store.limit = INT64_MAX;
        list.AddPage(PageBytes(4, true));
        list.WriteHeader();
        MemoryStream file;
        list.CopyTo(file);
        Loaded loaded(file.Release());
        EXPECT_EQ(loaded.list.PageCount(), 3);
        EXPECT_EQ(loaded.list.GetPage(3), PageBytes(4, true));
        EXPECT_EQ(loaded.list.GetPage(1), PageBytes(1, true));
    }
}

TEST(TRepPageList, ReaderAndWriterOnTwoThreads) {
    MemoryStream store;
    TRepPageList list([] { return kTime; });
    list.SetCompression(true);
    list.Attach(store);
    std::thread writer([&] {
        for (int n = 1; n <= 40; ++n)
            list.AddPage(PageBytes(n));
    });
    int read = 0;
    while (read < 200) {
        const int count = list.PageCount();
        if (count == 0)
            continue;
        const int n = 1 + read % count;
        ASSERT_EQ(list.GetPage(n), PageBytes(n));
        ++read;
    }
    writer.join();
}

// Offset of field `field` (0 number, 1 link, 2 first data word) of page n's record.
std::size_t FieldOf(const Bytes& file, int n, int field) {
    return static_cast<std::size_t>(Records(file)[static_cast<std::size_t>(n - 1)].start) +
           4 * static_cast<std::size_t>(field);
}

std::size_t BackOf(const Bytes& file, int n) {
    return static_cast<std::size_t>(Records(file)[static_cast<std::size_t>(n - 1)].next) - 4;
}

// Replaces page n's data, keeping every link consistent.
Bytes WithPageData(const Bytes& file, int n, const Bytes& data) {
    const auto records = Records(file);
    const Record& r = records[static_cast<std::size_t>(n - 1)];
    Bytes out(file.begin(), file.begin() + r.start + 8);
    out.insert(out.end(), data.begin(), data.end());
    const auto shift = static_cast<std::int64_t>(out.size()) + 4 - r.next;
    out.insert(out.end(), file.begin() + r.next - 4, file.end());
    SetI32(out, static_cast<std::size_t>(r.start) + 4, static_cast<std::int32_t>(r.next + shift));
    for (std::size_t i = static_cast<std::size_t>(n); i < records.size(); ++i) {
        const auto start = records[i].start + shift;
        SetI32(out, static_cast<std::size_t>(start) + 4,
               static_cast<std::int32_t>(records[i].next + shift));
        SetI32(out, static_cast<std::size_t>(records[i].next + shift) - 4,
               static_cast<std::int32_t>(start));
    }
    return out;
}

Bytes CodedPage(const Bytes& page, std::int32_t length) {
    MemoryStream out;
    WriteI32(out, length);
    TRepCompress coder(out, TRepCompress::Mode::Compress);
    coder.Compress(page);
    coder.Finish();
    return out.Release();
}

Bytes Emf(void (*damage)(Bytes&)) {
    Bytes b = PageBytes(3);
    damage(b);
    return b;
}

struct Damage {
    const char* what;
    bool compressed;
    std::function<void(Bytes&)> apply;
    int page;  // 0: the header
    bool atOpen = false;
    ERepFileError::Fault fault = ERepFileError::Fault::Damaged;
};

TEST(TRepPageList, DamagedFilesAreRefused) {
    const auto field = [](int n, int f, std::int32_t v) {
        return [=](Bytes& b) { SetI32(b, FieldOf(b, n, f), v); };
    };
    const auto data = [](int n, Bytes d) { return [=](Bytes& b) { b = WithPageData(b, n, d); }; };
    const auto coded = [](int n, Bytes page, std::int32_t u) {
        return [=](Bytes& b) { b = WithPageData(b, n, CodedPage(page, u)); };
    };
    const auto cutAt = [](int n, std::int64_t more) {
        return [=](Bytes& b) { b.resize(static_cast<std::size_t>(Records(b)[static_cast<std::size_t>(n - 1)].start + more)); };
    };
    constexpr auto kCut = ERepFileError::Fault::EndsEarly;
    const Bytes page3 = PageBytes(3);
    const std::int32_t u3 = static_cast<std::int32_t>(page3.size());
    const Damage cases[] = {
        {"no header", false, [](Bytes& b) { b.resize(0); }, 0, true},
        {"short header", false, [](Bytes& b) { b.resize(123); }, 0, true},
        {"negative count", false, [](Bytes& b) { SetI32(b, 8, -1); }, 0, true},
        {"absurd count", true, [](Bytes& b) { SetI32(b, 8, INT32_MAX); }, 0, true},
        {"count of 0", false, [](Bytes& b) { SetI32(b, 8, 0); }, 0, true},
        {"count too small", false, [](Bytes& b) { SetI32(b, 8, 4); }, 4, true},
        {"count too large", false, [](Bytes& b) { SetI32(b, 8, 6); }, 6, true, kCut},
        {"truncated", true, [](Bytes& b) { b.resize(b.size() - 7); }, 5, true, kCut},
        {"header only", false, [](Bytes& b) { b.resize(124); }, 1, true, kCut},
        {"cut inside page 1", true, cutAt(1, 40), 1, true, kCut},
        {"cut after page 1", false, cutAt(2, 0), 2, true, kCut},
        {"cut in page 2's frame", true, cutAt(2, 6), 2, true, kCut},
        {"cut early in page 2", false, cutAt(2, 30), 2, true, kCut},
        {"cut late in page 4", true, cutAt(5, -10), 4, true, kCut},
        {"cut after page 3", false, cutAt(4, 0), 4, true, kCut},
        {"cut in page 3 with a bad link in page 2", false,
         [cutAt](Bytes& b) {
             SetI32(b, FieldOf(b, 2, 0), 7);
             cutAt(3, 30)(b);
         },
         2, true},
        {"trailing bytes", false, [](Bytes& b) { b.resize(b.size() + 4); }, 5, true},
        {"link backwards", false, field(3, 1, 124), 3},
        {"link to zero", false, field(3, 1, 0), 3},
        {"link to itself", true,
         [](Bytes& b) { SetI32(b, FieldOf(b, 3, 1), static_cast<std::int32_t>(FieldOf(b, 3, 0))); },
         3},
        {"link past the end", false, field(3, 1, INT32_MAX), 3},
        {"link short of the next record", true,
         [](Bytes& b) { SetI32(b, FieldOf(b, 3, 1), I32At(b, FieldOf(b, 3, 1)) - 4); }, 3},
        {"record start wrong", false, [](Bytes& b) { SetI32(b, BackOf(b, 3), 0); }, 3},
        {"record start off by one", true,
         [](Bytes& b) { SetI32(b, BackOf(b, 3), I32At(b, BackOf(b, 3)) + 1); }, 3},
        {"page number repeated", false, field(3, 0, 2), 3},
        {"page number ahead", true, field(3, 0, 4), 3},
        {"page number negative", false, field(3, 0, -3), 3},
        {"length beyond 8 per code byte", true,
         [](Bytes& b) {
             const auto r = Records(b)[2];
             SetI32(b, FieldOf(b, 3, 2),
                    static_cast<std::int32_t>(8 * (r.next - r.start - 16) + 4));
         },
         3},
        {"length negative", true, field(3, 2, -108), 3},
        {"length short", true, coded(3, page3, u3 - 4), 3},
        {"code truncated", true,
         [page3](Bytes& b) {
             Bytes c = CodedPage(page3, static_cast<std::int32_t>(page3.size()));
             c.pop_back();
             b = WithPageData(b, 3, c);
         },
         3},
        {"code with a spare byte", true,
         [page3](Bytes& b) {
             Bytes c = CodedPage(page3, static_cast<std::int32_t>(page3.size()));
             c.push_back(0);
             b = WithPageData(b, 3, c);
         },
         3},
        {"code garbled", true,
         [](Bytes& b) {
             for (std::size_t i = FieldOf(b, 3, 3); i < FieldOf(b, 3, 3) + 8; ++i)
                 b[i] ^= 0x5A;
         },
         3},
        {"not a metafile", false, data(3, Bytes(200, 0x41)), 3},
        {"metafile type", false, data(3, Emf([](Bytes& e) { e[0] = 2; })), 3},
        {"metafile header size", true, coded(3, Emf([](Bytes& e) { SetI32(e, 4, 84); }), u3), 3},
        {"metafile signature", false, data(3, Emf([](Bytes& e) { e[40] = 'X'; })), 3},
        {"metafile size field", true,
         coded(3, Emf([](Bytes& e) { SetI32(e, 48, I32At(e, 48) + 4); }), u3), 3},
        {"metafile size not whole words", false,
         data(3,
              [] {
                  Bytes e = PageBytes(3);
                  e.push_back(0);
                  SetI32(e, 48, static_cast<std::int32_t>(e.size()));
                  return e;
              }()),
         3},
        {"metafile record count", false, data(3, Emf([](Bytes& e) { SetI32(e, 52, 1); })), 3},
        {"metafile record overruns", true, coded(3, Emf([](Bytes& e) { SetI32(e, 92, 4000); }), u3),
         3},
        {"metafile without end record", false,
         data(3, Emf([](Bytes& e) { e[e.size() - 20] = 70; })), 3},
    };
    for (const Damage& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = MakeFile(5, c.compressed);
        c.apply(file);
        MemoryStream stream(file);
        TRepPageList list;
        if (c.atOpen) {
            try {
                list.Open(stream);
                ADD_FAILURE() << "opened";
            } catch (const ERepFileError& e) {
                EXPECT_EQ(e.Page(), c.page);
                EXPECT_EQ(e.Kind(), c.fault);
                if (c.fault == kCut) {
                    EXPECT_EQ(std::string(e.what()),
                              "The file is not a valid report file: it ends before the end of page " +
                                  std::to_string(c.page));
                }
            }
            EXPECT_EQ(list.PageCount(), 0);
            continue;
        }
        ASSERT_NO_THROW(list.Open(stream));
        // The damaged page is named; the pages next to the ends still show.
        try {
            list.GetPage(c.page);
            ADD_FAILURE() << "read";
        } catch (const ERepFileError& e) {
            EXPECT_EQ(e.Page(), c.page);
            EXPECT_EQ(std::string(e.what()), "The file is not a valid report file: page " +
                                                 std::to_string(c.page) + " is damaged");
        }
        for (int n : {1, 5, 4, 1, 2, 5})
            EXPECT_EQ(list.GetPage(n), PageBytes(n)) << n;
    }
}

TEST(TRepPageList, HeaderTime) {
    const struct {
        int y, mo, d, h, mi, s, ms;
        double days;
    } cases[] = {
        {1899, 12, 30, 0, 0, 0, 0, 0.0},
        {1900, 1, 1, 0, 0, 0, 0, 2.0},
        {2000, 1, 1, 12, 0, 0, 0, 36526.5},
        {2024, 2, 29, 6, 0, 0, 0, 45351.25},
        {2024, 3, 1, 23, 59, 59, 999, 45352.0 + 86399.999 / 86400},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(DaysSince1899(c.y, c.mo, c.d, c.h, c.mi, c.s, c.ms), c.days);
    // Local time differs from UTC by less than a day.
    const double utcDays = std::chrono::duration<double, std::ratio<86400>>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count() +
                           25569.0;
    EXPECT_NEAR(LocalNowAsDays(), utcDays, 1.0);
}

}  // namespace
}  // namespace rep
