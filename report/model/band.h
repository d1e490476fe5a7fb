#pragma once
// A band: a strip of the page that the report prints at its current position, with the
// printables placed in it. The supplement sheets have none; banded reports have them.
#include <functional>
#include <string>
#include <vector>

#include "report/model/band_size.h"
#include "report/model/frame.h"
#include "report/model/printable.h"

namespace rep {

enum class TRepBandType {
    rbTitle, rbPageHeader, rbDetail, rbPageFooter, rbSummary, rbGroupHeader, rbGroupFooter,
    rbSubDetail, rbColumnHeader, rbOverlay, rbChild
};

class TRepBand : public TRepSizeOwner {
public:
    TRepBand(TRepRun& report, TRepBandType type, const TRepDisplay& display = SystemDisplay());
    ~TRepBand();
    TRepBand(const TRepBand&) = delete;
    TRepBand& operator=(const TRepBand&) = delete;

    std::wstring Name;
    TRepBandType BandType;
    TRepBandSize Size;
    TRepFrame Frame;
    bool Enabled = true;
    bool ForceNewPage = false;
    bool ForceNewColumn = false;
    bool AlignToBottom = false;
    std::uint32_t Color = clWhite;
    // A child band printed right after this one (HasChild).
    TRepBand* ChildBand = nullptr;
    // BeforePrint may veto the band; AfterPrint learns whether it was printed.
    std::function<void(TRepBand&, bool& printBand)> BeforePrint;
    std::function<void(TRepBand&, bool printed)> AfterPrint;

    TRepRun& Report() const { return report_; }
    // The printables placed in the band, in child order.
    const std::vector<TRepPrintable*>& Printables() const { return printables_; }
    void AddPrintable(TRepPrintable* p);
    void RemovePrintable(TRepPrintable* p);

    TRepBounds PixelBounds() const override { return bounds_; }
    void SetPixelBounds(const TRepBounds& b) override;
    // Band height in native units.
    long double NativeHeight() const { return Size.NativeValue(TRepBandSize::HeightValue); }

    // Title, page header, page footer and overlay bands span the printable width and never
    // force a new page or column.
    bool IsPageWide() const;

private:
    TRepRun& report_;
    TRepBounds bounds_{0, 0, 0, 0};
    std::vector<TRepPrintable*> printables_;
};

}  // namespace rep
