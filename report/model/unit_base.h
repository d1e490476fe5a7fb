#pragma once
// The base of the report's geometry objects (page, band size, printable size):
// lengths stored in native units, read and written in a user unit, and pushed as
// pixel bounds to the object that owns them.
#include <vector>

#include "report/model/units.h"

namespace rep {

// Pixel rectangle of a report, band or printable on the (never shown) report surface.
struct TRepBounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TRepBounds&) const = default;
};

// The object whose pixel bounds follow a geometry object: the report for its page,
// a band for its band size, a printable for its printable size.
class TRepSizeOwner {
public:
    virtual TRepBounds PixelBounds() const = 0;
    // The owner's bounds setter. While a geometry object pushes its stored values,
    // that object's ParentUpdating() is true, and the setter must only take them.
    virtual void SetPixelBounds(const TRepBounds& bounds) = 0;

protected:
    ~TRepSizeOwner() = default;
};

// What geometry objects need of the report they belong to.
class TRepParentReport {
public:
    // Size in points of the report font; the Characters unit is built from it.
    virtual int FontSize() const = 0;
    // Place the bands again after a page length changed.
    virtual void RelayoutBands() = 0;
    virtual void Repaint() = 0;
    // Give the report's units to the page, the bands and the printables again.
    virtual void ReapplyUnits() = 0;

protected:
    ~TRepParentReport() = default;
};

// What the system says when a geometry object is created: the screen's logical
// pixels per inch and whether the locale measures in inches. The Win32 side reads
// both from the system (system_display.h); tests give their own.
struct TRepDisplay {
    int Resolution = ScreenPixelsPerInch;
    bool UsMeasurement = false;
};

// The "Values" list of a form definition: stored lengths in native units.
using TRepValues = std::vector<long double>;

// The zooms a report takes; others are ignored without a message.
constexpr bool ReportZoomAccepted(int zoom) { return zoom > 0 && zoom <= 300; }

// Used for Characters when the object belongs to no report: the report font's default.
inline constexpr int DefaultReportFontSize = 10;

class TRepUnitBase {
public:
    explicit TRepUnitBase(const TRepDisplay& display);
    virtual ~TRepUnitBase() = default;
    TRepUnitBase(const TRepUnitBase&) = delete;
    TRepUnitBase& operator=(const TRepUnitBase&) = delete;

    virtual long double FromNative(TRepUnit units, bool horizontal, long double value) const;
    virtual long double ToNative(TRepUnit units, bool horizontal, long double value) const;
    virtual TRepUnit GetUnits() const;
    // After a form definition has been read: the stored values decide the pixel bounds.
    virtual void Loaded();
    // "Values" as read from a form definition. Missing entries keep their value and
    // entries beyond the class's list are ignored.
    virtual void ReadValues(const TRepValues& values);
    virtual void SetParentSizes();
    virtual void SetUnits(TRepUnit units);
    virtual TRepValues WriteValues() const;

    // Units are switched to Pixels and back around code that works in pixels.
    void SaveUnits();
    void RestoreUnits();

    TRepUnit Units() const { return GetUnits(); }
    TRepUnit SavedUnits() const { return savedUnits_; }
    int Resolution() const { return resolution_; }
    bool ParentUpdating() const { return parentUpdating_; }

    TRepParentReport* ParentReport() const { return parentReport_; }
    void SetParentReport(TRepParentReport* report) { parentReport_ = report; }
    TRepSizeOwner* Owner() const { return owner_; }
    void SetOwner(TRepSizeOwner* owner) { owner_ = owner; }

    int Zoom() const { return zoom_; }
    // A zoom of 0 or below would divide by zero in the Pixels unit: ignored.
    void SetZoom(int zoom);

protected:
    // One stored length read and written in the current units.
    long double Shown(long double native, bool horizontal) const;
    long double Stored(long double value, bool horizontal) const;
    // A stored length on the report surface, in whole pixels at this object's zoom.
    int PixelsOf(long double native) const;
    // Copies "Values" into a class's fixed list.
    static void CopyValues(const TRepValues& from, long double* to, std::size_t count);

    // Pushes `bounds` to the owner with ParentUpdating set for the duration.
    void PushBounds(const TRepBounds& bounds);

    void RelayoutBands();
    void RepaintReport();

private:
    int FontSize() const;

    int resolution_;
    TRepUnit units_;
    TRepUnit savedUnits_;
    TRepParentReport* parentReport_ = nullptr;
    TRepSizeOwner* owner_ = nullptr;
    bool parentUpdating_ = false;
    int zoom_ = 100;
};

}  // namespace rep
