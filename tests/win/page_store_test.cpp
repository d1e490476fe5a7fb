// Real page pictures through the page store: stored, read back record by record,
// spilled to a temporary file, saved, loaded, and refused when damaged.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "report/run/file_stream.h"
#include "report/run/page_file.h"
#include "report/run/page_list.h"
#include "report/run/rep_stream.h"
#include "tests/win/page_pictures.h"
#include "ui/metafile.h"
#include "ui/utf8.h"

namespace {

using namespace pagetest;
using Bytes = std::vector<std::uint8_t>;

struct Page {
    std::vector<Label> labels;
    std::vector<Fill> fills;
};

// Page n of a report: a title, the page number at the bottom, a filled box and lines.
Page MakePage(int n, int lines = 12) {
    Page p;
    p.labels.push_back({300, 30, 16, L"Arial", L"Приложение к диплому, стр. " + std::to_wstring(n)});
    for (const Label& l : ReportLabels(n, lines)) p.labels.push_back(l);
    p.labels.push_back({380, 1080, 12, L"Times New Roman", std::to_wstring(n)});
    p.fills.push_back({{40 + n, 1000, 300 + 7 * n, 1040}, RGB(10 * n, 20, 255 - n)});
    return p;
}

void ExpectShows(HENHMETAFILE emf, const Page& page) {
    ASSERT_NE(emf, nullptr);
    const PageContent seen = ContentOf(emf);
    ASSERT_EQ(seen.texts.size(), page.labels.size());
    ASSERT_EQ(seen.fonts.size(), page.labels.size());
    for (std::size_t i = 0; i < page.labels.size(); ++i) {
        const Label& l = page.labels[i];
        EXPECT_EQ(seen.texts[i].text, l.text);
        EXPECT_EQ(seen.texts[i].reference.x, l.x);
        EXPECT_EQ(seen.texts[i].reference.y, l.y);
        EXPECT_EQ(seen.fonts[i].face, l.face);
        EXPECT_EQ(seen.fonts[i].height, -l.heightPx);
    }
    ASSERT_EQ(seen.rectangles.size(), page.fills.size());
    for (std::size_t i = 0; i < page.fills.size(); ++i) {
        EXPECT_EQ(seen.rectangles[i].box.left, page.fills[i].box.left);
        EXPECT_EQ(seen.rectangles[i].box.top, page.fills[i].box.top);
        EXPECT_EQ(seen.rectangles[i].box.right, page.fills[i].box.right - 1);
        EXPECT_EQ(seen.rectangles[i].box.bottom, page.fills[i].box.bottom - 1);
        EXPECT_EQ(seen.rectangles[i].brush, page.fills[i].colour);
    }
}

// A run's page store: a TRepStream with its page list, filled as the report printer
// does (header again at the end).
struct RunStore {
    rep::TRepStream stream;
    rep::TRepPageList pages;
    std::vector<Page> shown;
    std::vector<Bytes> pictures;

    explicit RunStore(bool compressed, int count = 0, int lines = 12) {
        pages.SetCompression(compressed);
        pages.Attach(stream);
        for (int n = 1; n <= count; ++n) Add(MakePage(n, lines));
        if (count > 0) pages.WriteHeader();
    }
    void Add(const Page& p) {
        const ui::EnhMetaFile emf = RecordPage(p.labels, p.fills);
        rep::AddPage(pages, emf.get());
        shown.push_back(p);
        pictures.push_back(ui::EmfBytes(emf.get()));
    }
};

std::int32_t I32At(const Bytes& b, std::size_t at) {
    std::int32_t v;
    std::memcpy(&v, b.data() + at, sizeof v);
    return v;
}

void PutI32(Bytes& b, std::size_t at, std::int32_t v) { std::memcpy(b.data() + at, &v, sizeof v); }

// Offset of record n's first field in a saved file, following the forward links.
std::size_t RecordAt(const Bytes& file, int n) {
    std::size_t at = rep::kPageHeaderSize;
    for (int i = 1; i < n; ++i) at = static_cast<std::size_t>(I32At(file, at + 4));
    return at;
}

class PageStore : public testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Coding, PageStore, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Compressed" : "Plain"; });

TEST_P(PageStore, PagesReadBackAsRecorded) {
    RunStore run(GetParam(), 4);
    EXPECT_EQ(run.pages.PageCount(), 4);
    for (int n : {2, 4, 1, 3, 3, 1}) {
        SCOPED_TRACE(n);
        const ui::EnhMetaFile page = rep::GetPage(run.pages, n);
        ASSERT_TRUE(page);
        EXPECT_EQ(ui::EmfBytes(page.get()), run.pictures[n - 1]);
        ExpectShows(page.get(), run.shown[n - 1]);
    }
    EXPECT_FALSE(rep::GetPage(run.pages, 0));
    EXPECT_FALSE(rep::GetPage(run.pages, 5));
}

TEST_P(PageStore, ALongReportMovesToATemporaryFileAndStillReads) {
    std::wstring tempName;
    {
        RunStore run(GetParam());
        int n = 0;
        while (run.stream.InMemory()) {
            run.Add(MakePage(++n, 60));
            ASSERT_LT(n, 200) << "the store never left memory";
        }
        // The page that crossed the limit and one after it.
        run.Add(MakePage(++n, 60));
        run.pages.WriteHeader();
        tempName = run.stream.TempFileName();
        EXPECT_TRUE(FileExists(tempName));
        EXPECT_GT(run.stream.Size(), rep::TRepStream::kMemoryLimit);

        for (int k : {n, 1, n - 1, n / 2, 2}) {
            SCOPED_TRACE(k);
            const ui::EnhMetaFile page = rep::GetPage(run.pages, k);
            EXPECT_EQ(ui::EmfBytes(page.get()), run.pictures[k - 1]);
            ExpectShows(page.get(), run.shown[k - 1]);
        }
    }
    EXPECT_FALSE(FileExists(tempName));
}

TEST_P(PageStore, ASavedReportLoadsWithTheSamePages) {
    ScratchFolder folder;
    const std::wstring name = folder.file(L"Приложение.REP");
    RunStore run(GetParam(), 5);
    rep::SaveToFile(run.pages, name);

    const Bytes file = FileBytes(name);
    Bytes store(static_cast<std::size_t>(run.stream.Size()));
    run.stream.Seek(0);
    run.stream.Read(store.data(), store.size());
    EXPECT_EQ(file, store);
    EXPECT_EQ(I32At(file, 8), 5);  // the final count, not the 1 written with page 1
    EXPECT_EQ(file[21], GetParam() ? 1 : 0);

    rep::TRepLoadedFile loaded = rep::LoadFromFile(name);
    EXPECT_EQ(loaded.PageCount(), 5);
    EXPECT_EQ(loaded.pages->Compression(), GetParam());
    EXPECT_FALSE(loaded.stream->InMemory());
    for (int n : {3, 1, 5}) {
        SCOPED_TRACE(n);
        const ui::EnhMetaFile page = loaded.GetPage(n);
        EXPECT_EQ(ui::EmfBytes(page.get()), run.pictures[n - 1]);
        ExpectShows(page.get(), run.shown[n - 1]);
    }
    EXPECT_FALSE(loaded.GetPage(6));
}

TEST_P(PageStore, AOnePageReport) {
    ScratchFolder folder;
    const std::wstring name = folder.file(L"one.REP");
    RunStore run(GetParam(), 1);
    rep::SaveToFile(run.pages, name);
    const Bytes file = FileBytes(name);
    EXPECT_EQ(I32At(file, 8), 1);
    EXPECT_EQ(I32At(file, rep::kPageHeaderSize), 1);
    EXPECT_EQ(I32At(file, rep::kPageHeaderSize + 4), static_cast<std::int32_t>(file.size()));
    EXPECT_EQ(I32At(file, file.size() - 4), rep::kPageHeaderSize);

    rep::TRepLoadedFile loaded = rep::LoadFromFile(name);
    ASSERT_EQ(loaded.PageCount(), 1);
    ExpectShows(loaded.GetPage(1).get(), run.shown[0]);
}

TEST_P(PageStore, ASpilledStoreSavesAndLoads) {
    ScratchFolder folder;
    const std::wstring name = folder.file(L"long.REP");
    std::optional<rep::TRepLoadedFile> loaded;
    std::vector<Page> shown;
    {
        RunStore run(GetParam(), 12, 60);
        ASSERT_FALSE(run.stream.InMemory());
        rep::SaveToFile(run.pages, name);
        shown = run.shown;
    }
    loaded = rep::LoadFromFile(name);
    ASSERT_EQ(loaded->PageCount(), 12);
    for (int n : {7, 12, 1, 6, 8})
        ExpectShows(loaded->GetPage(n).get(), shown[n - 1]);
}

struct Damage {
    const char* what;
    int page;  // the page the message names; 0 for the header
    void (*spoil)(Bytes& file);
    bool cut = false;  // the file ends early, in that page
};

const Damage kDamages[] = {
    {"empty", 0, [](Bytes& f) { f.clear(); }},
    {"text", 0,
     [](Bytes& f) {
         const std::string text = "This is a letter, not a report. ";
         f.clear();
         while (f.size() < 5000) f.insert(f.end(), text.begin(), text.end());
     }},
    {"header only", 1, [](Bytes& f) { f.resize(rep::kPageHeaderSize); }, true},
    {"truncated", 5, [](Bytes& f) { f.resize(f.size() - 10); }, true},
    {"cut after page 2", 3, [](Bytes& f) { f.resize(RecordAt(f, 3)); }, true},
    {"cut early in page 2", 2, [](Bytes& f) { f.resize(RecordAt(f, 2) + 40); }, true},
    {"cut in the middle of page 4", 4, [](Bytes& f) { f.resize((RecordAt(f, 4) + RecordAt(f, 5)) / 2); }, true},
    {"bytes after the end", 5, [](Bytes& f) { f.insert(f.end(), 16, 0); }},
    {"link of page 3 changed", 3,
     [](Bytes& f) {
         const std::size_t at = RecordAt(f, 3) + 4;
         PutI32(f, at, I32At(f, at) + 4);
     }},
    {"page number of page 4 changed", 4,
     [](Bytes& f) { PutI32(f, RecordAt(f, 4), 9); }},
    {"count lowered", 4, [](Bytes& f) { PutI32(f, 8, 4); }},
    {"data of page 2 damaged", 2,
     [](Bytes& f) {
         // The bytes inside the second page picture (or its code) are overwritten.
         const std::size_t at = RecordAt(f, 2) + 8;
         for (std::size_t i = 4; i < 96; ++i) f[at + i] ^= 0x5A;
     }},
};

TEST_P(PageStore, ADamagedFileIsRefusedAndNothingShownIsLost) {
    ScratchFolder folder;
    RunStore run(GetParam(), 5);
    const std::wstring goodName = folder.file(L"good.REP");
    rep::SaveToFile(run.pages, goodName);
    const Bytes good = FileBytes(goodName);

    // The report on screen.
    rep::TRepLoadedFile shown = rep::LoadFromFile(goodName);
    ASSERT_TRUE(shown.GetPage(3));

    for (const Damage& d : kDamages) {
        SCOPED_TRACE(d.what);
        const std::wstring name = folder.file(L"Отчёт " + ui::fromUtf8(d.what) + L".REP");
        Bytes bad = good;
        d.spoil(bad);
        WriteFileBytes(name, bad);
        try {
            rep::LoadFromFile(name);
            ADD_FAILURE() << "loaded";
        } catch (const rep::ERepBadFile& e) {
            EXPECT_EQ(e.Page(), d.page);
            EXPECT_EQ(e.FileName(), name);
            const std::wstring want =
                L"The file " + name + L" is not a valid report file: " +
                (d.cut             ? L"it ends before the end of page " + std::to_wstring(d.page)
                 : d.page == 0     ? std::wstring(L"the header is damaged")
                                   : L"page " + std::to_wstring(d.page) + L" is damaged");
            EXPECT_EQ(ui::fromUtf8(e.what()), want);
        }
        EXPECT_EQ(FileBytes(name), bad);  // a load never writes
        for (int n : {5, 1, 4})
            ExpectShows(shown.GetPage(n).get(), run.shown[n - 1]);
    }
}

TEST_P(PageStore, SavingOntoTheShownFileFailsAndTheShownReportStays) {
    ScratchFolder folder;
    const std::wstring name = folder.file(L"shown.REP");
    RunStore first(GetParam(), 3);
    rep::SaveToFile(first.pages, name);
    const Bytes saved = FileBytes(name);
    rep::TRepLoadedFile shown = rep::LoadFromFile(name);

    RunStore second(GetParam(), 2);
    for (rep::TRepPageList* source : {&second.pages, shown.pages.get()}) {
        try {
            rep::SaveToFile(*source, name);
            ADD_FAILURE() << "saved onto the shown file";
        } catch (const rep::EFileAccessError& e) {
            EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
            EXPECT_NE(std::string(e.what()).find(ui::toUtf8(name)), std::string::npos) << e.what();
        }
        EXPECT_EQ(FileBytes(name), saved);
        for (int n : {2, 1, 3})
            ExpectShows(shown.GetPage(n).get(), first.shown[n - 1]);
    }

    // The shown report saves under another name, byte for byte.
    const std::wstring copy = folder.file(L"copy.REP");
    rep::SaveToFile(*shown.pages, copy);
    EXPECT_EQ(FileBytes(copy), saved);
    ExpectShows(shown.GetPage(2).get(), first.shown[1]);
}

TEST(PageFile, AReportWithoutPagesSavesAndLoadsAgain) {
    ScratchFolder folder;
    for (bool compressed : {false, true}) {
        RunStore empty(compressed);
        const std::wstring name = folder.file(compressed ? L"empty coded.REP" : L"empty.REP");
        rep::SaveToFile(empty.pages, name);
        EXPECT_EQ(FileBytes(name).size(), static_cast<std::size_t>(rep::kPageHeaderSize));
        rep::TRepLoadedFile loaded = rep::LoadFromFile(name);
        EXPECT_EQ(loaded.PageCount(), 0);
        EXPECT_FALSE(loaded.GetPage(1));
    }
}

TEST(PageFile, SavingFailuresLeaveNoFile) {
    ScratchFolder folder;
    RunStore run(false, 2);
    const std::wstring nowhere = folder.file(L"no folder\\a.REP");
    try {
        rep::SaveToFile(run.pages, nowhere);
        ADD_FAILURE() << "saved";
    } catch (const rep::EFileAccessError& e) {
        EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
        EXPECT_NE(std::string(e.what()).find(ui::toUtf8(nowhere)), std::string::npos);
    }
}

TEST(PageFile, AMissingFileFailsWithTheSystemsError) {
    ScratchFolder folder;
    const std::wstring name = folder.file(L"missing.REP");
    try {
        rep::LoadFromFile(name);
        ADD_FAILURE() << "loaded";
    } catch (const rep::EFileAccessError& e) {
        EXPECT_EQ(e.Code(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
        EXPECT_NE(std::string(e.what()).find(ui::toUtf8(name)), std::string::npos);
    }
}

}  // namespace
