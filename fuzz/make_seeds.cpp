// Writes the seed corpus: small well-formed report files and page codes, which the
// fuzzers then mutate. Deterministic, so rerunning it changes no file.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "report/run/byte_stream.h"
#include "report/run/compress.h"
#include "report/run/page_list.h"
#include "shell/state/state_codec.h"
#include "tests/core/emf_builder.h"
#include "ui/cp1251.h"
#include "ui/utf8.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Save(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

Bytes ReportFile(int pages, bool compressed, bool text) {
    rep::MemoryStream store;
    rep::TRepPageList list([] { return 45351.25; });
    list.SetCompression(compressed);
    list.Attach(store);
    for (int n = 1; n <= pages; ++n)
        list.AddPage(text ? emftest::TextPageEmf(static_cast<std::uint32_t>(n), 6)
                          : emftest::MinimalEmf(108 + 12 * static_cast<std::size_t>(n), n));
    list.WriteHeader();
    return store.Release();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder>\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::filesystem::create_directories(root / "fuzz_page_file");
    std::filesystem::create_directories(root / "fuzz_expand");

    for (bool compressed : {false, true}) {
        const std::string mode = compressed ? "coded" : "plain";
        Save(root / "fuzz_page_file" / (mode + "_1page"), ReportFile(1, compressed, false));
        Save(root / "fuzz_page_file" / (mode + "_5pages"), ReportFile(5, compressed, false));
        Save(root / "fuzz_page_file" / (mode + "_text"), ReportFile(2, compressed, true));
    }
    Save(root / "fuzz_page_file" / "empty_document", ReportFile(0, false, false));

    const Bytes pages[] = {emftest::MinimalEmf(160, 1), emftest::TextPageEmf(3, 4),
                           Bytes{'a', 'b', 'c'}};
    int i = 0;
    for (const Bytes& page : pages) {
        rep::MemoryStream code;
        {
            rep::TRepCompress coder(code, rep::TRepCompress::Mode::Compress);
            coder.Compress(page);
        }
        Bytes seed = {static_cast<std::uint8_t>(page.size()),
                      static_cast<std::uint8_t>(page.size() >> 8)};
        const Bytes c = code.Release();
        seed.insert(seed.end(), c.begin(), c.end());
        Save(root / "fuzz_expand" / ("code_" + std::to_string(++i)), seed);
    }

    // State files: a fresh window, one filled in with a typed grade, and that one in UTF-8.
    std::filesystem::create_directories(root / "fuzz_state");
    const auto bytesOf = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    SystemSet::TSettings fresh;
    Save(root / "fuzz_state" / "fresh", bytesOf(SystemSet::EncodeState(fresh)));
    SystemSet::TSettings filled;
    filled.Text("edSurName") = L"Иванова Мария";
    filled.Text("edDiscipline1") = L"Физика";
    filled.Index("cbMark1") = 2;
    filled.Index("cbMark2") = -1;
    filled.Typed[*SystemSet::FindStateField("cbMark2")] = L"зачтено";
    const std::string text = SystemSet::EncodeState(filled);
    Save(root / "fuzz_state" / "filled", bytesOf(text));
    Save(root / "fuzz_state" / "filled_utf8", bytesOf("\xEF\xBB\xBF" + ui::toUtf8(ui::fromCp1251(text))));
    return 0;
}
