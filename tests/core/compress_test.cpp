#include "report/run/compress.h"

#include <gtest/gtest.h>

#include <random>

#include "report/run/rep_error.h"
#include "tests/core/emf_builder.h"

namespace rep {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Code(const Bytes& input) {
    MemoryStream out;
    {
        TRepCompress coder(out, TRepCompress::Mode::Compress);
        coder.Compress(input);
    }  // freeing the coder flushes the last partial byte
    return out.Release();
}

// Expands `count` bytes and says how many code bytes that took.
Bytes Expand(const Bytes& code, std::size_t count, std::int64_t* consumed = nullptr) {
    MemoryStream in(code);
    TRepCompress coder(in, TRepCompress::Mode::Expand);
    Bytes out(count);
    coder.Expand(out);
    if (consumed)
        *consumed = in.Position();
    return out;
}

Bytes RandomBytes(std::size_t n, unsigned seed, unsigned range = 256) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& v : b)
        v = static_cast<std::uint8_t>(rng() % range);
    return b;
}

TEST(TRepCompress, CodesOfAFreshTree) {
    const struct {
        Bytes input, code;
    } cases[] = {
        {{}, {}},
        {{0}, {0x80}},  // 8 bits: ends on a byte boundary, no padding byte
        {{255}, {0x00, 0x00}},
        {{'a', 'b', 'c'}, {0x46, 0x3D, 0x01}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Code(c.input), c.code);
        EXPECT_EQ(Expand(c.code, c.input.size()), c.input);
    }
}

TEST(TRepCompress, FinishWritesOnceAndRefusesMore) {
    MemoryStream out;
    TRepCompress coder(out, TRepCompress::Mode::Compress);
    coder.Compress(std::uint8_t{'a'});
    coder.Finish();
    coder.Finish();
    EXPECT_EQ(out.Size(), 1);
    EXPECT_THROW(coder.Compress(std::uint8_t{'b'}), ERepError);
    EXPECT_THROW(coder.Expand(), ERepError);
}

TEST(TRepCompress, CodesAtTheStreamPosition) {
    MemoryStream out(Bytes{9, 9, 9});
    out.Seek(3);
    TRepCompress coder(out, TRepCompress::Mode::Compress);
    coder.Compress(std::uint8_t{0});
    coder.Finish();
    EXPECT_EQ(out.Release(), (Bytes{9, 9, 9, 0x80}));
}

TEST(TRepCompress, RoundTripsAndReadsNoByteBeyondTheCode) {
    const Bytes cases[] = {
        RandomBytes(1, 1),      RandomBytes(2, 2),        RandomBytes(1000, 3),
        RandomBytes(200000, 4), RandomBytes(50000, 5, 4),  // few values: short codes
        Bytes(10000, 255),                                 // the deepest leaf of the fresh tree
        Bytes(10000, 0),        emftest::TextPageEmf(1),  emftest::MinimalEmf(4096, 7),
    };
    for (const Bytes& input : cases) {
        const Bytes code = Code(input);
        std::int64_t consumed = 0;
        EXPECT_EQ(Expand(code, input.size(), &consumed), input);
        // The last code byte holds the last bit: the expander needs every byte, and no more.
        EXPECT_EQ(consumed, static_cast<std::int64_t>(code.size())) << input.size();
    }
}

TEST(TRepCompress, AdaptsToRepetitiveData) {
    for (const Bytes& input : {emftest::TextPageEmf(2), Bytes(4096, 'x')})
        EXPECT_LT(Code(input).size(), input.size() / 2);
}

TEST(TRepCompress, ExpandingPastTheCodeThrows) {
    const struct {
        Bytes code;
        std::size_t count;
    } cases[] = {
        {{}, 1},
        {{0x80}, 2},
        {RandomBytes(64, 9), 64 * 8 + 1},  // every byte takes at least one bit
        {{0x00, 0x01}, 1},  // eight left turns and a right one: the leaf no byte owns
    };
    for (const auto& c : cases)
        EXPECT_THROW(Expand(c.code, c.count), ERepError) << c.count;
}

}  // namespace
}  // namespace rep
