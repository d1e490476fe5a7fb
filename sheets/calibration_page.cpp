#include "sheets/calibration_page.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "report/model/font_gdi.h"
#include "report/run/rep_printer.h"
#include "sheets/field_captions.h"
#include "sheets/offset_mm.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "sheets/sheet_label.h"
#include "ui/app.h"

namespace Calibration {

namespace {

constexpr long double kMm = 10;  // native units

std::string narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

// The main-window field whose text a sheet-1 label prints.
std::string fieldOfLabel(const SetReport::TBlankoSheet1& sheet, const rep::TRepLabel* label) {
    struct Group {
        const std::array<rep::TRepLabel*, 4>* four;
        const char* field;
    };
    for (const Group& g : {Group{&sheet.RlbSpec, "edSpec"}, Group{&sheet.RlbCourseWork, "edCourseWork"},
                           Group{&sheet.RlbPraktic, "edPraktic"}})
        for (std::size_t i = 0; i < g.four->size(); ++i)
            if ((*g.four)[i] == label) return g.field + std::to_string(i + 1);
    for (std::size_t i = 0; i < sheet.RlbExamMore.size(); ++i)
        if (sheet.RlbExamMore[i] == label) return "edExamMore" + std::to_string(i + 1);
    // "RlbTown" prints edTown, "RlbedPresentDate" edPresentDate, "RlbTrial" the combo box.
    const std::string name = narrow(label->Name);
    if (name.rfind("Rlb", 0) != 0) return name;
    std::string rest = name.substr(3);
    if (rest == "Trial") return "cbTrial";
    return rest.rfind("ed", 0) == 0 ? rest : "ed" + rest;
}

// Where a label stands for a print: its base moved as the sheets move it.
TCalibrationMarks::Box boxAt(const SetReportCommon::TBasePosition& b, std::int64_t dx, std::int64_t dy,
                             std::wstring name) {
    const rep::TRepPrintableSize& size = b.label->Size;
    return {std::move(name), b.left + SetReportCommon::PixelOffsetNative(size, dx),
            b.top + SetReportCommon::PixelOffsetNative(size, dy), b.width, b.height};
}

std::wstring offsetText(const wchar_t* what, std::int32_t steps, int ppi) {
    return std::wstring(what) + L" " + std::to_wstring(steps) + L" (" + SetReportCommon::MmText(steps, ppi) + L")";
}

class Pen {
public:
    Pen(HDC dc, int width) : pen_(CreatePen(PS_SOLID, std::max(1, width), RGB(0, 0, 0))), sel_(dc, pen_.get()) {}

private:
    ui::PenHandle pen_;
    ui::SelectGuard sel_;
};

}  // namespace

void TCalibrationMarks::Print(long double, long double) {
    rep::TReport* report = &report_;
    rep::TRepPrinter* p = report->RepPrinter();
    if (!p || !p->Canvas() || !report->DrawGraphics()) return;
    HDC dc = p->Canvas();
    const long double width = report->Page.NativeValue(rep::TRepPage::WidthValue);
    const long double length = report->Page.NativeValue(rep::TRepPage::LengthValue);
    const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    auto line = [&](long double x1, long double y1, long double x2, long double y2) {
        MoveToEx(dc, p->XPos(x1), p->YPos(y1), nullptr);
        LineTo(dc, p->XPos(x2), p->YPos(y2));
    };
    auto font = [&](int pt) {
        rep::TRepFont f;
        f.Size = pt;
        return rep::CreateDeviceFont(f, ppi);
    };
    auto text = [&](long double x, long double y, UINT align, const std::wstring& s, const RECT* clip = nullptr) {
        SetTextAlign(dc, align);
        ExtTextOutW(dc, p->XPos(x), p->YPos(y), clip ? ETO_CLIPPED : 0, clip, s.c_str(), static_cast<UINT>(s.size()),
                    nullptr);
    };
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    Pen pen(dc, p->XSize(1.5L));  // 0.15 mm

    // Rulers from the paper's edges: a tick every millimetre, longer every 5 and 10.
    {
        ui::FontHandle f = font(7);
        ui::SelectGuard sel(dc, f.get());
        const long double edge = 5 * kMm;
        line(0, edge, width, edge);
        line(edge, 0, edge, length);
        for (int mm = 1; mm * kMm < width; ++mm) {
            const long double tick = mm % 10 == 0 ? 4 * kMm : mm % 5 == 0 ? 2.5L * kMm : 1.5L * kMm;
            line(mm * kMm, edge, mm * kMm, edge + tick);
            if (mm % 10 == 0) text(mm * kMm, edge + 4.5L * kMm, TA_CENTER | TA_TOP, std::to_wstring(mm));
        }
        for (int mm = 1; mm * kMm < length; ++mm) {
            const long double tick = mm % 10 == 0 ? 4 * kMm : mm % 5 == 0 ? 2.5L * kMm : 1.5L * kMm;
            line(edge, mm * kMm, edge + tick, mm * kMm);
            // From 20 on: the top ruler's 10 stands where the left one's would.
            if (mm % 10 == 0 && mm >= 20) text(edge + 4.5L * kMm, mm * kMm, TA_LEFT | TA_BASELINE, std::to_wstring(mm));
        }
    }
    // Crosshairs 20 mm from each corner.
    for (long double x : {20 * kMm, width - 20 * kMm})
        for (long double y : {20 * kMm, length - 20 * kMm}) {
            line(x - 4 * kMm, y, x + 4 * kMm, y);
            line(x, y - 4 * kMm, x, y + 4 * kMm);
        }
    // The boxes, each with its field's name inside, cut at the box's right edge.
    {
        ui::FontHandle f = font(6);
        ui::SelectGuard sel(dc, f.get());
        HGDIOBJ hollow = GetStockObject(NULL_BRUSH);
        ui::SelectGuard brush(dc, hollow);
        for (const Box& b : Boxes) {
            RECT r{p->XPos(b.left), p->YPos(b.top), p->XPos(b.left + b.width), p->YPos(b.top + b.height)};
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
            text(b.left + 0.5L * kMm, b.top + 0.4L * kMm, TA_LEFT | TA_TOP, b.name, &r);
        }
    }
    {
        ui::FontHandle f = font(8);
        ui::SelectGuard sel(dc, f.get());
        long double y = length - 16.5L * kMm;
        for (const std::wstring& s : Legend) {
            text(30 * kMm, y, TA_LEFT | TA_TOP, s);
            y += 4 * kMm;
        }
    }
}

TCalibrationPage::TCalibrationPage(int page) : page_(page == 2 ? 2 : 1) {
    SetReportCommon::SetUpSheetReport(
        Report1, L"Калибровка, стр. " + std::to_wstring(page_) + L" - " + ui::Application::get().title());
    marks_ = &Report1.Own<TCalibrationMarks>(Report1);
    marks_->Name = L"Marks";
    marks_->SetParent(&Report1);
    Report1.OnStartPage = [this](rep::TReport& r) { Report1StartPage(r); };
}

void TCalibrationPage::Report1StartPage(rep::TReport&) {
    // The set of the printer this run prints on, exactly as a sheet takes it.
    const SetReportCommon::TPrintOffsets o = SetReportCommon::UsableOffsets(Report1);
    const std::wstring printer = SetReportCommon::PrinterNameOf(Report1);
    const int ppi = Report1.Page.Resolution();
    std::vector<TCalibrationMarks::Box> boxes;
    std::wstring offsets;
    if (page_ == 1 && SetReport::BlankoSheet1) {
        const SetReport::TBlankoSheet1& sheet = *SetReport::BlankoSheet1;
        for (const auto& b : sheet.BasePositions())
            boxes.push_back(boxAt(b, o.DeltaX1, o.DeltaY1, SetReportCommon::FieldCaption(fieldOfLabel(sheet, b.label))));
        offsets = offsetText(L"по горизонтали", o.DeltaX1, ppi) + L", " + offsetText(L"по вертикали", o.DeltaY1, ppi);
    } else if (page_ == 2 && SetReport2::BlankoSheet2) {
        const SetReport2::TBlankoSheet2& sheet = *SetReport2::BlankoSheet2;
        const std::int64_t x = o.DeltaX2;
        struct Column {
            const std::vector<SetReportCommon::TBasePosition>* bases;
            std::int64_t dx;
            const char* field;
        };
        for (const Column& c : {Column{&sheet.DisciplineBases(), x, "edDiscipline"},
                                Column{&sheet.HoursBases(), x + o.DeltaXColumn2, "edHours"},
                                Column{&sheet.MarkBases(), x + o.DeltaXColumn3, "cbMark"}})
            for (std::size_t i = 0; i < c.bases->size(); ++i) {
                std::wstring name = SetReportCommon::FieldCaption(c.field + std::to_string(i + 1));
                // Every box here is on page 2.
                const std::wstring_view page2 = L" на странице 2";
                if (name.ends_with(page2)) name.resize(name.size() - page2.size());
                boxes.push_back(boxAt((*c.bases)[i], c.dx, o.DeltaY2, std::move(name)));
            }
        offsets = offsetText(L"по горизонтали", o.DeltaX2, ppi) + L", " + offsetText(L"по вертикали", o.DeltaY2, ppi) +
                  L", " + offsetText(L"2 колонка", o.DeltaXColumn2, ppi) + L", " +
                  offsetText(L"3 колонка", o.DeltaXColumn3, ppi);
    }
    marks_->Boxes = std::move(boxes);
    marks_->Legend = {
        L"Калибровочная страница " + std::to_wstring(page_) + L". Подстройки " +
            (printer.empty() || !SetReportCommon::PrintSettings().HasOwnOffsets(printer) ? std::wstring(L"для всех принтеров")
                                                                         : L"принтера «" + printer + L"»") +
            L":",
        offsets + L".",
        L"Рамки - поля бланка там, где их напечатает принтер; линейки и крестики (20 мм от углов) - от края листа.",
    };
}

}  // namespace Calibration
