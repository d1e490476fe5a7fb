#pragma once
// The calibration page of a sheet: on plain paper, the outline of every box of the sheet at
// the place a print puts it (the sheet's own label rectangles at base + offsets, with the
// set of the printer it prints on), each with its field's name inside; millimetre rulers
// along the top and left edges and crosshairs 20 mm from each corner, drawn without
// offsets. Laid on a blank against the light, it shows how far off the printer is.
#include <string>
#include <vector>

#include "report/model/printable.h"
#include "report/run/report.h"

namespace Calibration {

// The rulers, crosshairs, boxes and the line saying which offsets they stand at.
class TCalibrationMarks : public rep::TRepPrintable {
public:
    // Drawn on the report's paper, with its printer's scale.
    explicit TCalibrationMarks(rep::TReport& report) : report_(report) {}

    struct Box {
        std::wstring name;
        long double left, top, width, height;  // native units
    };
    std::vector<Box> Boxes;
    std::vector<std::wstring> Legend;  // lines under the page's last boxes

    void Print(long double OfsX, long double OfsY) override;

private:
    rep::TReport& report_;
};

class TCalibrationPage {
public:
    // page 1 or 2: the sheet whose boxes it shows; without that sheet, rulers only.
    explicit TCalibrationPage(int page);

    rep::TReport Report1;
    TCalibrationMarks& Marks() { return *marks_; }

    // Shows the page in the preview, from where it prints; returns when that closes.
    void Preview() { Report1.Preview(); }

private:
    void Report1StartPage(rep::TReport& sender);

    int page_;
    TCalibrationMarks* marks_ = nullptr;
};

}  // namespace Calibration
