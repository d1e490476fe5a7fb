#pragma once
// What a printable needs from the run that prints it, so that it knows no report and no
// printer: the report gives its font, units, zoom, measuring context, the run's state and
// its export's text sink; the report printer gives the canvas and native units' scale.
#include <windows.h>

#include "report/model/rep_font.h"
#include "report/model/unit_base.h"
#include "report/model/units.h"

namespace rep {

class TRepBand;
class TRepExportFilter;
class TRepPrintable;

// The surface of the page being made.
class TRepRunCanvas {
public:
    // The page metafile's canvas or the printer's.
    virtual HDC Canvas() const = 0;
    // Native units (0.1 mm) to device pixels.
    virtual int XPos(long double x) const = 0;
    virtual int YPos(long double y) const = 0;
    virtual long double XFactor() const = 0;
    virtual long double YFactor() const = 0;

protected:
    ~TRepRunCanvas() = default;
};

class TRepRun : public TRepParentReport {
public:
    virtual const TRepFont& RunFont() const = 0;
    virtual TRepUnit Units() const = 0;
    virtual int Zoom() const = 0;
    virtual void AddPrintable(TRepPrintable* p) = 0;
    virtual void RemovePrintable(TRepPrintable* p) = 0;
    // A memory context compatible with the screen, where labels measure their text.
    virtual HDC MeasureDC() const = 0;
    // The canvas of the run in progress; null between runs.
    virtual TRepRunCanvas* RunCanvas() const = 0;
    virtual bool DrawGraphics() const = 0;
    virtual bool Exporting() const = 0;
    virtual TRepExportFilter* ExportFilter() const = 0;
    // Where the band being printed is placed now (native).
    virtual long CurrentX() const = 0;
    virtual long CurrentY() const = 0;
    // A stretching label of the band being printed needs the band to reach down to
    // `bottom` (native, from the band's top). The band grows; when it would no longer fit,
    // it moves on to a new column or page instead, reaching `bottomIfMoved` there, and the
    // answer is true: its new place is CurrentX(), CurrentY().
    virtual bool StretchBand(TRepBand& band, long double bottom, long double bottomIfMoved) = 0;

protected:
    ~TRepRun() = default;
};

}  // namespace rep
