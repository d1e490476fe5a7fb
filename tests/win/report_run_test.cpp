// Reports run for real into the page store: events, pages, labels on the recorded
// metafiles, the spill to a temporary file, cancel, errors, and the text export.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "report/export/ascii_export_filter.h"
#include "report/model/label.h"
#include "report/run/rep_printer.h"
#include "report/run/report.h"
#include "ui/app.h"
#include "ui/metafile.h"
#include "ui/utf8.h"

namespace {

// Stands in for the preview control: attaches to the report printer the run shows, keeps
// every page the run stores, and lets go once the document is finished.
struct PreviewCatcher {
    std::vector<std::vector<ui::EmfRecord>> pages;
    std::vector<int> pageMessages;
    std::wstring tempFile;
    bool spilled = false;
    bool detachWhenDone = true;
    rep::TRepPrinter* printer = nullptr;
    HWND hwnd = nullptr;

    static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<PreviewCatcher*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (self && m == rep::WM_REPPAGEAVAILABLE) {
            self->pageMessages.push_back(static_cast<int>(w & 0xFFFF));
            rep::TRepPrinter* p = self->printer;
            if (p && p->Status() == rep::stFinished && self->detachWhenDone) {
                for (int i = 1; i <= p->PageCount(); ++i) self->pages.push_back(ui::EmfRecords(p->GetPage(i).get()));
                if (p->Stream()) {
                    self->spilled = !p->Stream()->InMemory();
                    self->tempFile = p->Stream()->TempFileName();
                }
                p->SetShowingPreview(false);
            }
            return 0;
        }
        return DefWindowProcW(h, m, w, l);
    }
    PreviewCatcher() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BlkPreviewCatcher";
        RegisterClassW(&wc);
        hwnd = CreateWindowW(L"BlkPreviewCatcher", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~PreviewCatcher() { DestroyWindow(hwnd); }
    void attachTo(rep::TReport& r) {
        r.OnPreview = [this](rep::TRepPrinter& p) {
            printer = &p;
            p.Client = hwnd;
            p.SetShowingPreview(true);
        };
    }
};

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::vector<std::wstring> texts(const std::vector<ui::EmfRecord>& recs) {
    std::vector<std::wstring> out;
    for (const auto& r : recs)
        if (r.type == EMR_EXTTEXTOUTW) {
            auto t = r.as<EMREXTTEXTOUTW>();
            const auto* chars = reinterpret_cast<const wchar_t*>(r.bytes.data() + t.emrtext.offString);
            out.emplace_back(chars, t.emrtext.nChars);
        }
    return out;
}

const ui::EmfRecord* textRecord(const std::vector<ui::EmfRecord>& recs, const std::wstring& text) {
    for (const auto& r : recs)
        if (r.type == EMR_EXTTEXTOUTW) {
            auto t = r.as<EMREXTTEXTOUTW>();
            std::wstring s(reinterpret_cast<const wchar_t*>(r.bytes.data() + t.emrtext.offString), t.emrtext.nChars);
            if (s == text) return &r;
        }
    return nullptr;
}

rep::TRepLabel& labelAt(rep::TReport& r, int leftPx, int topPx, int widthPx, const std::wstring& caption) {
    auto& l = r.Own<rep::TRepLabel>();
    l.SetParent(&r);
    l.SetWidth(widthPx);
    l.SetHeight(18);
    l.SetLeft(leftPx);
    l.SetTop(topPx);
    l.SetCaption(caption);
    return l;
}

void setUpA4(rep::TReport& r) {
    r.Page.SetPaperSize(rep::TRepPaperSize::A4);
    r.Page.ReadValues({100.0L, 2970.0L, 100.0L, 2100.0L, 100.0L, 100.0L, 0.0L});
    r.Page.Loaded();
    r.SetUnits(rep::TRepUnit::MM);
    r.ShowProgress = false;
}

TEST(ReportRun, OnePageStartPageOnceThenLabelsDrawnWithItsValues) {
    rep::TReport r;
    setUpA4(r);
    auto& name = labelAt(r, 100, 200, 300, L"before");
    int starts = 0;
    std::vector<std::string> events;
    r.BeforePrint = [&](rep::TReport&, bool&) { events.push_back("BeforePrint"); };
    r.OnStartPage = [&](rep::TReport&) {
        ++starts;
        events.push_back("OnStartPage");
        name.SetCaption(L"Иванов");
    };
    r.OnEndPage = [&](rep::TReport&) { events.push_back("OnEndPage"); };
    r.AfterPreview = [&](rep::TReport&) { events.push_back("AfterPreview"); };
    PreviewCatcher c;
    c.attachTo(r);
    r.Preview();
    EXPECT_EQ(starts, 1);
    ASSERT_EQ(c.pages.size(), 1u);
    EXPECT_EQ(c.pageMessages, std::vector<int>{1});
    EXPECT_EQ(texts(c.pages[0]), std::vector<std::wstring>{L"Иванов"});
    EXPECT_EQ(events, (std::vector<std::string>{"BeforePrint", "OnStartPage", "OnEndPage", "AfterPreview"}));
    EXPECT_TRUE(r.Available());
    EXPECT_EQ(r.RepPrinter(), nullptr);
}

// The labels on the report are drawn in the order they were placed, run after run.
TEST(ReportRun, LabelsKeepTheirOrderFromRunToRun) {
    rep::TReport r;
    setUpA4(r);
    std::vector<std::wstring> placed;
    for (int i = 1; i <= 5; ++i) {
        placed.push_back(L"label " + std::to_wstring(i));
        labelAt(r, 100, 40 * i, 300, placed.back());
    }
    const std::vector<rep::TRepPrintable*> before = r.Printables();
    for (int run = 0; run < 2; ++run) {
        PreviewCatcher c;
        c.attachTo(r);
        r.Preview();
        ASSERT_EQ(c.pages.size(), 1u);
        EXPECT_EQ(texts(c.pages[0]), placed) << "run " << run + 1;
        EXPECT_EQ(r.Printables(), before) << "run " << run + 1;
    }
}

TEST(ReportRun, LabelRecordsCarryPositionFontAndFill) {
    rep::TReport r;
    setUpA4(r);
    auto& l = labelAt(r, 570, 127, 220, L"");
    l.AutoSize = false;
    l.SetWidth(220);
    rep::TRepFont f;
    f.Size = 11;
    l.SetFont(f);
    l.SetAlignment(rep::TRepAlignment::taCenter);
    l.SetCaption(L"г. Заречинск");
    auto& left = labelAt(r, 40, 234, 380, L"Слева");
    left.Transparent = true;
    PreviewCatcher c;
    c.attachTo(r);
    r.Preview();
    ASSERT_EQ(c.pages.size(), 1u);
    const auto& recs = c.pages[0];
    const ui::EmfRecord* t = textRecord(recs, L"г. Заречинск");
    ASSERT_NE(t, nullptr);
    auto e = t->as<EMREXTTEXTOUTW>();
    // Centred in the box: anchor x = left + width / 2 = 570 + 110 px at 96 dpi.
    EXPECT_EQ(e.emrtext.ptlReference.x, 680);
    EXPECT_EQ(e.emrtext.ptlReference.y, 127);
    const ui::EmfRecord* t2 = textRecord(recs, L"Слева");
    ASSERT_NE(t2, nullptr);
    EXPECT_EQ(t2->as<EMREXTTEXTOUTW>().emrtext.ptlReference.x, 40);
    // The fonts: Arial at 11 pt is 15 px high at 96 dpi; 10 pt is 13.
    std::vector<LONG> heights;
    for (const auto& rec : recs)
        if (rec.type == EMR_EXTCREATEFONTINDIRECTW) {
            auto fr = rec.as<EMREXTCREATEFONTINDIRECTW>();
            EXPECT_STREQ(fr.elfw.elfLogFont.lfFaceName, L"Arial");
            heights.push_back(fr.elfw.elfLogFont.lfHeight);
        }
    EXPECT_NE(std::find(heights.begin(), heights.end(), -15), heights.end());
    EXPECT_NE(std::find(heights.begin(), heights.end(), -13), heights.end());
    // The opaque label fills its box white before its text; the transparent one does not.
    int fills = 0;
    for (const auto& rec : recs)
        if (rec.type == EMR_FILLRGN || rec.type == EMR_BITBLT) ++fills;
    int brushes = 0;
    for (const auto& rec : recs)
        if (rec.type == EMR_CREATEBRUSHINDIRECT) {
            EXPECT_EQ(rec.as<EMRCREATEBRUSHINDIRECT>().lb.lbColor, RGB(255, 255, 255));
            ++brushes;
        }
    EXPECT_EQ(brushes, 1);
    EXPECT_GE(fills, 1);
}

TEST(ReportRun, BandedReportDrivenByNeedDataSpillsAndCleansUp) {
    rep::TReport r;
    setUpA4(r);
    r.SetUnits(rep::TRepUnit::Native);
    auto& header = r.AddBand(rep::TRepBandType::rbPageHeader);
    header.Size.SetHeight(100);
    auto& headerText = r.Own<rep::TRepLabel>();
    headerText.SetParent(&header);
    headerText.SetCaption(L"Ведомость");
    auto& detail = r.AddBand(rep::TRepBandType::rbDetail);
    detail.Size.SetHeight(50);  // 5 mm a row
    auto& cell = r.Own<rep::TRepLabel>();
    cell.SetParent(&detail);
    int row = 0;
    const int rows = 600;
    r.OnNeedData = [&](rep::TReport&, bool& more) {
        more = row < rows;
        if (more) cell.SetCaption(L"Строка номер " + std::to_wstring(++row) + L" " + std::wstring(40, L'ж'));
    };
    PreviewCatcher c;
    c.attachTo(r);
    r.Preview();
    // 2970 - 100 - 100 - 100 header = 2670 per page for rows of 50: 53 rows a page.
    int perPage = 53;
    int expectedPages = (rows + perPage - 1) / perPage;
    ASSERT_EQ(static_cast<int>(c.pages.size()), expectedPages);
    std::vector<int> expectedMessages;
    for (int i = 1; i <= expectedPages; ++i) expectedMessages.push_back(i);
    EXPECT_EQ(c.pageMessages, expectedMessages);
    auto first = texts(c.pages[0]);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0], L"Ведомость");
    EXPECT_EQ(first[1].substr(0, 14), L"Строка номер 1");
    EXPECT_EQ(static_cast<int>(first.size()), perPage + 1);
    auto last = texts(c.pages.back());
    EXPECT_EQ(last.back().substr(0, 16), L"Строка номер 600");
    // The store grew past 100000 bytes into a temporary file, gone with its report printer.
    EXPECT_TRUE(c.spilled);
    ASSERT_FALSE(c.tempFile.empty());
    std::wstring base = c.tempFile.substr(c.tempFile.find_last_of(L'\\') + 1);
    EXPECT_EQ(base.substr(0, 3), L"REP");
    EXPECT_EQ(GetFileAttributesW(c.tempFile.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ReportRun, ClosingThePreviewDuringTheRunCancelsIt) {
    rep::TReport r;
    setUpA4(r);
    r.SetUnits(rep::TRepUnit::Native);
    auto& detail = r.AddBand(rep::TRepBandType::rbDetail);
    detail.Size.SetHeight(50);
    auto& cell = r.Own<rep::TRepLabel>();
    cell.SetParent(&detail);
    int row = 0, afterPreview = 0;
    rep::TRepPrinter* printer = nullptr;
    r.OnPreview = [&](rep::TRepPrinter& p) {
        printer = &p;
        p.SetShowingPreview(true);
    };
    r.OnNeedData = [&](rep::TReport&, bool& more) {
        more = true;
        cell.SetCaption(std::to_wstring(++row));
        // The user closes the window while page 3 is being produced.
        if (row == 120) printer->SetShowingPreview(false);
    };
    r.AfterPreview = [&](rep::TReport&) { ++afterPreview; };
    r.Preview();
    EXPECT_EQ(afterPreview, 1);
    EXPECT_LE(row, 121);
    EXPECT_TRUE(r.Available());
}

TEST(ReportRun, AnErrorInStartPageLeavesTheReportUsable) {
    rep::TReport r;
    setUpA4(r);
    labelAt(r, 40, 40, 100, L"x");
    bool fail = true;
    r.OnStartPage = [&](rep::TReport&) {
        if (fail) throw std::runtime_error("boom");
    };
    PreviewCatcher c;
    c.attachTo(r);
    EXPECT_THROW(r.Preview(), std::runtime_error);
    EXPECT_TRUE(r.Available());
    EXPECT_EQ(r.RepPrinter(), nullptr);
    // The window of the failed run closes later.
    c.printer->SetShowingPreview(false);
    fail = false;
    PreviewCatcher c2;
    c2.attachTo(r);
    r.Preview();
    EXPECT_EQ(c2.pages.size(), 1u);
}

TEST(ReportRun, BusyReportIgnoresASecondPreview) {
    rep::TReport r;
    setUpA4(r);
    int starts = 0;
    r.OnStartPage = [&](rep::TReport& rr) {
        ++starts;
        rr.Preview();  // while the run is going
    };
    PreviewCatcher c;
    c.attachTo(r);
    r.Preview();
    EXPECT_EQ(starts, 1);
}

TEST(ReportRun, TextExportMatchesAKnownText) {
    rep::TReport r;
    setUpA4(r);
    // 10-pt font: rows of 35.28 tenths of a millimetre, columns of 20.75.
    labelAt(r, 40, 100, 300, L"Фамилия Иванов");  // x = 105.83 -> column 5, y = 264.58 -> row 8 (7.5 -> 8)
    auto& right = labelAt(r, 400, 100, 200, L"");
    right.AutoSize = false;
    right.SetWidth(200);
    right.SetAlignment(rep::TRepAlignment::taRightJustify);
    right.SetCaption(L"конец");
    labelAt(r, 40, 200, 300, L"Вторая строка");
    auto path = std::filesystem::temp_directory_path() / "blk_report_export.txt";
    {
        rep::TRepAsciiExportFilter f(path.wstring());
        r.ExportToFilter(f);
    }
    std::ifstream in(path, std::ios::binary);
    std::string got((std::istreambuf_iterator<char>(in)), {});
    in.close();
    // The right-aligned text ends at x = 600 px = 1587.5 -> column 76.5 - 5 = 71.5 -> 72 (even).
    std::string row8 = std::string(4, ' ') + "\xD4\xE0\xEC\xE8\xEB\xE8\xFF \xC8\xE2\xE0\xED\xEE\xE2";
    row8 += std::string(71 - static_cast<int>(row8.size()), ' ') + "\xEA\xEE\xED\xE5\xF6";
    std::string row15 = std::string(4, ' ') + "\xC2\xF2\xEE\xF0\xE0\xFF \xF1\xF2\xF0\xEE\xEA\xE0";
    EXPECT_EQ(got, row8 + "\r\n" + row15 + "\r\n");
    std::filesystem::remove(path);
    EXPECT_TRUE(r.DrawGraphics());
    EXPECT_FALSE(r.Exporting());
}

// Print page 1, print it again (a second preview), close the first window, print it again:
// every report printer lives until its window has closed and its Preview call has returned.
TEST(ReportRun, NestedPreviewsKeepTheirPrintersUntilTheirCallsReturn) {
    rep::TReport r;
    setUpA4(r);
    labelAt(r, 40, 40, 100, L"x");
    // Each report printer keeps a copy of OnPreview, and with it a share of `token`.
    auto token = std::make_shared<int>(0);
    auto livePrinters = [&token] { return token.use_count() - 2; };  // less the test's and the report's
    std::vector<rep::TRepPrinter*> shown;
    r.OnPreview = [&shown, token](rep::TRepPrinter& p) {
        shown.push_back(&p);
        p.SetShowingPreview(true);
    };
    int afterPreview = 0;
    r.AfterPreview = [&](rep::TReport&) { ++afterPreview; };
    std::vector<std::string> order;
    long aliveInThird = -1;
    r.OnStartPage = [&](rep::TReport&) {
        if (shown.size() == 1) {
            ui::Application::get().post([&] {
                r.Preview();
                order.push_back("second returned");
            });
        } else if (shown.size() == 2) {
            ui::Application::get().post([&] {
                shown[0]->SetShowingPreview(false);
                ui::Application::get().post([&] {
                    r.Preview();
                    order.push_back("third returned");
                });
            });
        } else {
            ui::Application::get().post([&] {
                aliveInThird = livePrinters();
                shown[2]->SetShowingPreview(false);
                shown[1]->SetShowingPreview(false);
            });
        }
    };
    r.Preview();
    order.push_back("first returned");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(aliveInThird, 3) << "the first preview's printer went while its Preview still waited";
    EXPECT_EQ(order, (std::vector<std::string>{"third returned", "second returned", "first returned"}));
    EXPECT_EQ(afterPreview, 3);
    EXPECT_EQ(livePrinters(), 0);
    EXPECT_EQ(r.RepPrinter(), nullptr);
}

// A second print of the page handled while the first preview is still opening is ignored,
// as one during the run is; the first run keeps its report printer.
TEST(ReportRun, ASecondPreviewWhileTheFirstOpensIsIgnored) {
    rep::TReport r;
    setUpA4(r);
    labelAt(r, 40, 40, 100, L"x");
    PreviewCatcher c;
    c.attachTo(r);
    int opened = 0, starts = 0;
    r.OnPreview = [&, attach = r.OnPreview](rep::TRepPrinter& p) {
        attach(p);
        if (++opened == 1) ui::Application::get().post([&] { r.Preview(); });
    };
    r.OnStartPage = [&](rep::TReport&) { ++starts; };
    r.Preview();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(starts, 1);
    ASSERT_EQ(c.pages.size(), 1u);
    EXPECT_EQ(texts(c.pages[0]), std::vector<std::wstring>{L"x"});
    EXPECT_TRUE(r.Available());
    EXPECT_EQ(r.RepPrinter(), nullptr);
}

// At 120 dpi a report pixel is no whole number of tenths of a millimetre; runs leave the
// stored rectangle of a label as it was.
TEST(ReportRun, RunsLeaveStoredRectanglesAsTheyAre) {
    const rep::TRepDisplay display{120, false};
    rep::TReport r(display);
    setUpA4(r);
    auto& l = r.Own<rep::TRepLabel>(display);
    l.AutoSize = false;
    l.SetParent(&r);
    l.Size.SetUnits(rep::TRepUnit::Native);
    l.Size.SetHeight(50);
    l.Size.SetLeft(100);
    l.Size.SetTop(333);
    l.Size.SetWidth(500);
    l.SetCaption(L"Иванов");
    const rep::TRepValues before = l.Size.WriteValues();
    for (int run = 1; run <= 2; ++run) {
        PreviewCatcher c;
        c.attachTo(r);
        r.Preview();
        ASSERT_EQ(c.pages.size(), 1u);
        EXPECT_EQ(l.Size.WriteValues(), before) << "run " << run;
    }
}

// A stretching label in a detail band makes its band grow, so that the next row starts below
// its last line; a band that no longer fits the page moves on, and its remaining lines open
// the next page.
TEST(ReportRun, StretchingLabelGrowsItsBandAndMovesItOnAtThePageEnd) {
    rep::TReport r;
    setUpA4(r);
    r.SetUnits(rep::TRepUnit::Native);
    auto& detail = r.AddBand(rep::TRepBandType::rbDetail);
    detail.Size.SetHeight(50);
    auto& cell = r.Own<rep::TRepLabel>();
    cell.SetParent(&detail);
    cell.AutoSize = false;
    cell.AutoStretch = true;
    cell.SetWidth(20);  // one word a line
    cell.SetHeight(18);
    rep::TRepFont f;
    f.Size = 11;
    cell.SetFont(f);
    const int rows = 40;
    std::vector<std::wstring> expected;
    for (int i = 1; i <= rows; ++i) {
        expected.push_back(L"верх" + std::to_wstring(i));
        expected.push_back(L"низ" + std::to_wstring(i));
    }
    int row = 0;
    r.OnNeedData = [&](rep::TReport&, bool& more) {
        more = row < rows;
        if (more) {
            ++row;
            cell.SetCaption(L"верх" + std::to_wstring(row) + L" низ" + std::to_wstring(row));
        }
    };
    PreviewCatcher c;
    c.attachTo(r);
    r.Preview();
    ASSERT_GE(c.pages.size(), 2u);
    std::vector<std::vector<std::pair<std::wstring, LONG>>> pages;
    std::vector<std::wstring> all;
    for (const auto& recs : c.pages) {
        pages.emplace_back();
        for (const auto& rec : recs)
            if (rec.type == EMR_EXTTEXTOUTW) {
                auto t = rec.as<EMREXTTEXTOUTW>();
                std::wstring s(reinterpret_cast<const wchar_t*>(rec.bytes.data() + t.emrtext.offString),
                               t.emrtext.nChars);
                pages.back().emplace_back(s, t.emrtext.ptlReference.y);
                all.push_back(s);
            }
    }
    EXPECT_EQ(all, expected);
    ASSERT_GE(pages[0].size(), 2u);
    const LONG pitch = pages[0][1].second - pages[0][0].second;  // the two lines of row 1
    ASSERT_GT(pitch, 0);
    const int dpi = ScreenDpi();
    const LONG topMargin = static_cast<LONG>(std::lround(100.0 * dpi / 254));
    const LONG footerTop = static_cast<LONG>(std::lround(2870.0 * dpi / 254));
    std::string overlaps;
    for (size_t p = 0; p < pages.size(); ++p) {
        for (size_t i = 1; i < pages[p].size(); ++i) {
            if (pages[p][i].second - pages[p][i - 1].second < pitch)
                overlaps += ui::toUtf8(pages[p][i].first) + " over " + ui::toUtf8(pages[p][i - 1].first) + "; ";
        }
        if (!pages[p].empty()) {
            EXPECT_LE(pages[p].back().second + pitch, footerTop + 1) << "page " << p + 1;
        }
    }
    EXPECT_EQ(overlaps, "");
    // The band that met the page end went on to page 2 with the rest of its label.
    ASSERT_FALSE(pages[1].empty());
    EXPECT_EQ(pages[1][0].first.substr(0, 3), L"низ");
    EXPECT_EQ(pages[1][0].second, topMargin);
}

// A new label keeps its 10 x 10 px when put on a report; a fixed one (AutoSize off) only
// grows as high as one line.
TEST(ReportRun, NewLabelKeepsItsDefaultSizeOnTheReport) {
    rep::TReport r;
    setUpA4(r);
    auto& l = r.Own<rep::TRepLabel>();
    l.AutoSize = false;
    l.SetParent(&r);
    EXPECT_EQ(l.Width(), 10);
    EXPECT_NEAR(static_cast<double>(l.Size.NativeValue(rep::TRepPrintableSize::WidthValue)),
                10.0 * 254 / l.Size.Resolution(), 1e-9);
    EXPECT_EQ(l.Height(), l.LineHeight() + 1);
    l.SetCaption(L"Иванов Пётр");
    EXPECT_EQ(l.Width(), 10);
}

}  // namespace
