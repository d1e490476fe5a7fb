// Page store figures on the real platform: GetPage over a store that spilled to its
// temporary file, against the same walk with one system call per field; and loading
// (which checks every page) of the saved file.
//
//   store_bench <folder of *.emf pages> [pages in the store]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "report/run/byte_stream.h"
#include "report/run/file_stream.h"
#include "report/run/page_file.h"
#include "report/run/page_list.h"
#include "report/run/rep_error.h"
#include "report/run/rep_stream.h"
#include "ui/handles.h"
#include "ui/metafile.h"
#include "ui/utf8.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

Bytes ReadWholeFile(const std::wstring& name) {
    ui::FileHandle f(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 0, nullptr));
    if (!f) throw rep::ERepError("cannot open " + ui::toUtf8(name));
    Bytes bytes(GetFileSize(f.get(), nullptr));
    DWORD got = 0;
    if (!ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
        got != bytes.size())
        throw rep::ERepError("cannot read " + ui::toUtf8(name));
    return bytes;
}

std::vector<Bytes> LoadPages(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"\\*.emf").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do names.push_back(folder + L"\\" + found.cFileName);
        while (FindNextFileW(h, &found));
        FindClose(h);
    }
    std::sort(names.begin(), names.end());
    std::vector<Bytes> pages;
    for (const auto& n : names) pages.push_back(ReadWholeFile(n));
    return pages;
}

// The walk as it would run with no read cache: a seek and a read for every field.
class UncachedFile final : public rep::ByteStream {
public:
    explicit UncachedFile(const std::wstring& name)
        : file_(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr)) {
        if (!file_) throw rep::ERepError("cannot open " + ui::toUtf8(name));
        LARGE_INTEGER size{};
        GetFileSizeEx(file_.get(), &size);
        size_ = size.QuadPart;
    }
    void Read(void* data, std::size_t size) override {
        LARGE_INTEGER to{};
        to.QuadPart = position_;
        SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN);
        DWORD got = 0;
        ++calls_;
        if (!ReadFile(file_.get(), data, static_cast<DWORD>(size), &got, nullptr) || got != size)
            throw rep::ERepError("Stream read error");
        position_ += static_cast<std::int64_t>(size);
    }
    void Write(const void*, std::size_t) override { throw rep::ERepError("read-only"); }
    void Seek(std::int64_t p) override {
        if (p < 0 || p > size_) throw rep::ERepError("Stream seek error");
        position_ = p;
    }
    std::int64_t Position() const override { return position_; }
    std::int64_t Size() const override { return size_; }
    std::uint64_t Calls() const { return calls_; }

private:
    ui::FileHandle file_;
    std::int64_t position_ = 0;
    std::int64_t size_ = 0;
    std::uint64_t calls_ = 0;
};

struct Figures {
    double randomMean = 0, randomWorst = 0, nextMean = 0;
    double randomCalls = 0, nextCalls = 0;  // system reads per GetPage
};

template <class CallCount>
Figures Walk(rep::TRepPageList& list, const std::vector<Bytes>& pages, int count, CallCount calls) {
    constexpr int kRandom = 300;
    constexpr int kNext = 300;
    Figures f;
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> pick(1, count);
    std::uint64_t before = calls();
    for (int i = 0; i < kRandom; ++i) {
        const int n = pick(rng);
        const auto start = Clock::now();
        const auto page = list.GetPage(n);
        const double us = Micros(Clock::now() - start);
        if (!page || *page != pages[static_cast<std::size_t>(n - 1) % pages.size()])
            throw rep::ERepError("wrong page from the store");
        f.randomMean += us / kRandom;
        f.randomWorst = std::max(f.randomWorst, us);
    }
    f.randomCalls = static_cast<double>(calls() - before) / kRandom;
    list.GetPage(1);
    before = calls();
    for (int n = 2; n <= kNext + 1; ++n) {
        const auto start = Clock::now();
        list.GetPage(n);
        f.nextMean += Micros(Clock::now() - start) / kNext;
    }
    f.nextCalls = static_cast<double>(calls() - before) / kNext;
    return f;
}

void Print(const char* what, const Figures& f) {
    std::printf("  %-22s random: mean %9.1f us  worst %9.1f us  %7.1f reads   next: %7.1f us  %5.1f reads\n",
                what, f.randomMean, f.randomWorst, f.randomCalls, f.nextMean, f.nextCalls);
}

void Measure(bool compressed, const std::vector<Bytes>& pages, int count, const std::wstring& saved) {
    std::printf("%s store of %d pages\n", compressed ? "Compressed" : "Plain", count);
    {
        rep::TRepStream stream;
        rep::TRepPageList list;
        list.SetCompression(compressed);
        list.Attach(stream);
        const auto start = Clock::now();
        for (int n = 1; n <= count; ++n) list.AddPage(pages[static_cast<std::size_t>(n - 1) % pages.size()]);
        list.WriteHeader();
        const double addUs = Micros(Clock::now() - start) / count;
        std::printf("  %.1f MB, %s; AddPage: mean %.1f us\n", static_cast<double>(stream.Size()) / 1e6,
                    stream.InMemory() ? "in memory" : "spilled to its temporary file", addUs);

        Print("cached (TRepStream)", Walk(list, pages, count, [&] { return stream.FileReadCalls(); }));
        const auto saveStart = Clock::now();
        rep::SaveToFile(list, saved);
        std::printf("  SaveToFile: %.1f ms\n", Micros(Clock::now() - saveStart) / 1000);
    }
    {
        UncachedFile file(saved);
        rep::TRepPageList list;
        list.Open(file);
        Print("a read per field", Walk(list, pages, count, [&] { return file.Calls(); }));
    }
    {
        const auto start = Clock::now();
        rep::TRepLoadedFile loaded = rep::LoadFromFile(saved);
        std::printf("  LoadFromFile (checks all %d pages): %.1f ms\n", loaded.PageCount(),
                    Micros(Clock::now() - start) / 1000);
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> pick(1, count);
        double sum = 0;
        constexpr int kCalls = 200;
        for (int i = 0; i < kCalls; ++i) {
            const auto s = Clock::now();
            const ui::EnhMetaFile emf = loaded.GetPage(pick(rng));
            sum += Micros(Clock::now() - s);
        }
        std::printf("  picture of a random page from the loaded file: mean %.1f us\n\n", sum / kCalls);
    }
    DeleteFileW(saved.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        if (argc < 2) {
            std::fprintf(stderr, "usage: store_bench <folder of *.emf pages> [pages]\n");
            return 2;
        }
        const std::vector<Bytes> pages = LoadPages(argv[1]);
        if (pages.empty()) throw rep::ERepError("no .emf pages in " + ui::toUtf8(argv[1]));
        const int count = argc > 2 ? std::max(2, _wtoi(argv[2])) : 2000;
        std::size_t total = 0;
        for (const Bytes& p : pages) total += p.size();
        std::printf("Pages: %zu .emf files from %s, %.1f KB a page\n\n", pages.size(),
                    ui::toUtf8(argv[1]).c_str(), total / 1024.0 / pages.size());

        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        const std::wstring saved = std::wstring(temp) + L"store_bench.REP";
        for (bool compressed : {false, true}) Measure(compressed, pages, count, saved);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "store_bench: %s\n", e.what());
        return 1;
    }
}
