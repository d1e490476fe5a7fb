// Page coder and page store figures: TRepCompress against zlib level 6 on the same
// pages, and the cost of fetching random pages from a 10,000-page store.
//
//   compress_bench [folder of *.emf pages]
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "report/run/byte_stream.h"
#include "report/run/compress.h"
#include "report/run/page_list.h"
#include "report/run/rep_error.h"
#include "tests/core/emf_builder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

std::vector<Bytes> LoadPages(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (entry.is_regular_file() && ext == ".emf")
            names.push_back(entry.path());
    }
    std::sort(names.begin(), names.end());
    std::vector<Bytes> pages;
    for (const auto& name : names) {
        std::ifstream in(name, std::ios::binary);
        pages.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return pages;
}

// The temporary file a large page store spills into.
class FileStream final : public rep::ByteStream {
public:
    FileStream() : file_(std::tmpfile()) {
        if (!file_)
            throw rep::ERepError("cannot create a temporary file");
    }
    ~FileStream() override { std::fclose(file_); }
    void Read(void* d, std::size_t n) override {
        if (std::fread(d, 1, n, file_) != n)
            throw rep::ERepError("Stream read error");
        position_ += static_cast<std::int64_t>(n);
    }
    void Write(const void* d, std::size_t n) override {
        if (std::fwrite(d, 1, n, file_) != n)
            throw rep::ERepError("Stream write error");
        position_ += static_cast<std::int64_t>(n);
        size_ = std::max(size_, position_);
    }
    void Seek(std::int64_t p) override {
        if (p < 0 || p > size_ || fseeko(file_, p, SEEK_SET) != 0)
            throw rep::ERepError("Stream seek error");
        position_ = p;
    }
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return size_; }

private:
    std::FILE* file_;
    std::int64_t position_ = 0;
    std::int64_t size_ = 0;
};

struct Throughput {
    double packMBs = 0, unpackMBs = 0;
    std::size_t packed = 0;
};

// Runs whole rounds over the pages until about a second has passed.
template <typename Round>
double MBPerSecond(std::size_t bytesPerRound, Round round) {
    int rounds = 0;
    const auto start = Clock::now();
    do {
        round();
        ++rounds;
    } while (Seconds(Clock::now() - start) < 1.0);
    return static_cast<double>(bytesPerRound) * rounds / Seconds(Clock::now() - start) / 1e6;
}

Throughput MeasureRepCompress(const std::vector<Bytes>& pages, std::size_t total) {
    Throughput t;
    std::vector<Bytes> codes(pages.size());
    t.packMBs = MBPerSecond(total, [&] {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            rep::MemoryStream out;
            rep::TRepCompress coder(out, rep::TRepCompress::Mode::Compress);
            coder.Compress(pages[i]);
            coder.Finish();
            codes[i] = out.Release();
        }
    });
    for (const Bytes& c : codes)
        t.packed += c.size();
    Bytes page;
    t.unpackMBs = MBPerSecond(total, [&] {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            rep::MemoryStream in(codes[i]);
            rep::TRepCompress coder(in, rep::TRepCompress::Mode::Expand);
            page.resize(pages[i].size());
            coder.Expand(page);
        }
    });
    if (page != pages.back())
        throw std::runtime_error("TRepCompress round trip failed");
    return t;
}

Throughput MeasureZlib(const std::vector<Bytes>& pages, std::size_t total) {
    Throughput t;
    std::vector<Bytes> codes(pages.size());
    t.packMBs = MBPerSecond(total, [&] {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            uLongf size = compressBound(static_cast<uLong>(pages[i].size()));
            codes[i].resize(size);
            if (compress2(codes[i].data(), &size, pages[i].data(),
                          static_cast<uLong>(pages[i].size()), 6) != Z_OK)
                throw std::runtime_error("deflate failed");
            codes[i].resize(size);
        }
    });
    for (const Bytes& c : codes)
        t.packed += c.size();
    Bytes page;
    t.unpackMBs = MBPerSecond(total, [&] {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            page.resize(pages[i].size());
            uLongf size = static_cast<uLongf>(page.size());
            if (uncompress(page.data(), &size, codes[i].data(),
                           static_cast<uLong>(codes[i].size())) != Z_OK)
                throw std::runtime_error("inflate failed");
        }
    });
    if (page != pages.back())
        throw std::runtime_error("zlib round trip failed");
    return t;
}

void MeasureStore(const char* where, rep::ByteStream& stream, bool compressed,
                  const std::vector<Bytes>& pages) {
    constexpr int kPages = 10000;
    constexpr int kCalls = 1000;
    rep::TRepPageList list([] { return 45351.25; });
    list.SetCompression(compressed);
    list.Attach(stream);
    for (int n = 1; n <= kPages; ++n)
        list.AddPage(pages[static_cast<std::size_t>(n - 1) % pages.size()]);
    list.WriteHeader();

    std::mt19937 rng(42);
    std::uniform_int_distribution<int> pick(1, kPages);
    double sum = 0, worst = 0;
    for (int i = 0; i < kCalls; ++i) {
        const int n = pick(rng);
        const auto start = Clock::now();
        const auto page = list.GetPage(n);
        const double us = Seconds(Clock::now() - start) * 1e6;
        if (!page || *page != pages[static_cast<std::size_t>(n - 1) % pages.size()])
            throw std::runtime_error("wrong page from the store");
        sum += us;
        worst = std::max(worst, us);
    }
    double seqSum = 0;
    for (int n = 1; n <= kCalls; ++n) {
        const auto start = Clock::now();
        list.GetPage(n);
        seqSum += Seconds(Clock::now() - start) * 1e6;
    }
    std::printf(
        "  %-6s %-12s %8.1f MB  random: mean %9.1f us  worst %9.1f us   next page: mean %7.1f us\n",
        where, compressed ? "compressed" : "plain", static_cast<double>(stream.Size()) / 1e6,
        sum / kCalls, worst, seqSum / kCalls);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        std::vector<Bytes> pages;
        if (argc > 1)
            pages = LoadPages(argv[1]);
        if (pages.empty()) {
            for (std::uint32_t i = 0; i < 20; ++i)
                pages.push_back(emftest::TextPageEmf(i, 140));
            std::printf(
                "Pages: %zu SYNTHETIC EMF-like pages (no .emf files%s%s): 140 text labels each,\n"
                "       EMR_EXTTEXTOUTW with UTF-16 Cyrillic text, fonts, rectangles\n",
                pages.size(), argc > 1 ? " in " : " given", argc > 1 ? argv[1] : "");
        } else {
            std::printf("Pages: %zu .emf files from %s\n", pages.size(), argv[1]);
        }
        std::size_t total = 0;
        for (const Bytes& p : pages)
            total += p.size();
        std::printf("       %.1f KB in all, %.1f KB a page\n\n", total / 1024.0,
                    total / 1024.0 / pages.size());

        const Throughput rc = MeasureRepCompress(pages, total);
        const Throughput zl = MeasureZlib(pages, total);
        const auto ratio = [&](const Throughput& t) {
            return static_cast<double>(t.packed) / total;
        };
        std::printf("%-14s %14s %14s %14s\n", "", "compress MB/s", "expand MB/s", "coded/original");
        std::printf("%-14s %14.1f %14.1f %14.3f\n", "TRepCompress", rc.packMBs, rc.unpackMBs,
                    ratio(rc));
        std::printf("%-14s %14.1f %14.1f %14.3f\n", "zlib level 6", zl.packMBs, zl.unpackMBs,
                    ratio(zl));
        std::printf("%-14s %13.2fx %13.2fx %13.2fx\n\n", "TRepCompress/zlib",
                    rc.packMBs / zl.packMBs, rc.unpackMBs / zl.unpackMBs, ratio(rc) / ratio(zl));

        std::printf(
            "GetPage over a 10000-page store (1000 random pages; then pages 1..1000 in order):\n");
        for (bool compressed : {false, true}) {
            rep::MemoryStream memory;
            MeasureStore("memory", memory, compressed, pages);
        }
        for (bool compressed : {false, true}) {
            FileStream file;
            MeasureStore("file", file, compressed, pages);
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "compress_bench: %s\n", e.what());
        return 1;
    }
}
