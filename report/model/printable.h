#pragma once
// Anything that draws itself on a report page: a stored rectangle in native units, an
// alignment, a frame and a print operation the report calls while a page is produced.
// Printables are not windows: their pixel bounds stand for the bounds of a control on
// the report surface, which this program never shows.
#include <string>

#include "report/model/frame.h"
#include "report/model/print_run.h"
#include "report/model/printable_size.h"
#include "report/model/system_display.h"

namespace rep {

class TRepBand;

enum class TRepAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

inline constexpr std::uint32_t clWhite = 0xFFFFFF;

class TRepPrintable : public TRepSizeOwner {
public:
    explicit TRepPrintable(const TRepDisplay& display = SystemDisplay());
    virtual ~TRepPrintable();
    TRepPrintable(const TRepPrintable&) = delete;
    TRepPrintable& operator=(const TRepPrintable&) = delete;

    std::wstring Name;
    TRepPrintableSize Size;
    TRepFrame Frame;
    bool Enabled = true;
    bool AlignToBand = false;
    std::uint32_t Color = clWhite;

    TRepAlignment Alignment() const { return alignment_; }
    virtual void SetAlignment(TRepAlignment value);

    // Parent assignment: the report itself, or one of its bands, or none.
    void SetParent(TRepRun* report);
    void SetParent(TRepBand* band);
    TRepRun* ParentReport() const { return parentReport_; }
    TRepBand* ParentBand() const { return parentBand_; }
    bool HasParent() const { return parentReport_ || parentBand_; }
    // The report a run belongs to, given without moving the printable: its stored
    // rectangle and pixel bounds stay as they are.
    void AttachReport(TRepRun* report);

    // The canvas of the run that prints it, from Prepare on.
    TRepRunCanvas* RunCanvas() const { return runCanvas_; }
    bool IsPrinting() const { return isPrinting_; }

    // The control's bounds on the report surface, in pixels.
    TRepBounds PixelBounds() const override { return bounds_; }
    void SetPixelBounds(const TRepBounds& b) override;
    void SetBounds(int left, int top, int width, int height);
    int Left() const { return bounds_.Left; }
    int Top() const { return bounds_.Top; }
    int Width() const { return bounds_.Width; }
    int Height() const { return bounds_.Height; }
    void SetLeft(int v) { SetBounds(v, bounds_.Top, bounds_.Width, bounds_.Height); }
    void SetTop(int v) { SetBounds(bounds_.Left, v, bounds_.Width, bounds_.Height); }
    void SetWidth(int v) { SetBounds(bounds_.Left, bounds_.Top, v, bounds_.Height); }
    void SetHeight(int v) { SetBounds(bounds_.Left, bounds_.Top, bounds_.Width, v); }

    // Reading a form definition: bounds given meanwhile are only remembered; the stored
    // "Values" then decide the pixel rectangle at this display's resolution.
    void BeginReading() { reading_ = true; }
    void EndReading();
    bool Reading() const { return reading_; }

    virtual void AlignIt();
    virtual void Prepare();
    // Draws at an offset in native units.
    virtual void Print(long double OfsX, long double OfsY);
    virtual void BandResized(TRepBand* band, int reason);
    virtual void Unprepare();

protected:
    virtual void ParentChanged() {}
    void detachFromParent();

private:
    TRepBounds bounds_{0, 0, 10, 10};
    TRepBounds remembered_{};
    TRepAlignment alignment_ = TRepAlignment::taLeftJustify;
    TRepRun* parentReport_ = nullptr;
    TRepBand* parentBand_ = nullptr;
    TRepRunCanvas* runCanvas_ = nullptr;
    bool isPrinting_ = false;
    bool aligning_ = false;
    bool reading_ = false;
};

}  // namespace rep
