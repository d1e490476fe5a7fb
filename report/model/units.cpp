#include "report/model/units.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace rep {

long RoundEven(long double x) {
    if (std::isnan(x)) return 0;
    const long double r = std::nearbyint(x);  // default rounding mode: ties to even
    constexpr auto lo = std::numeric_limits<std::int32_t>::min();
    constexpr auto hi = std::numeric_limits<std::int32_t>::max();
    if (r <= lo) return lo;
    if (r >= hi) return hi;
    return static_cast<long>(r);
}

namespace {

// Character cell of the report font in millimetres.
long double CellMm(bool horizontal, int fontSize) {
    const long double s = std::abs(fontSize);
    return (horizontal ? 80.0L : 145.3L) / s * (1.0L / 2.54L);
}

}  // namespace

long double ToNative(TRepUnit units, bool horizontal, long double value, int resolution, int zoom,
                     int fontSize) {
    switch (units) {
    case TRepUnit::MM: return MmToNative(value);
    case TRepUnit::Inches: return InchesToNative(value);
    case TRepUnit::Pixels: return PixelsToNative(value, resolution, zoom);
    case TRepUnit::Characters:
        if (fontSize == 0) return 0;
        return value * CellMm(horizontal, fontSize) * 10.0L;
    case TRepUnit::Native: break;
    }
    return value;
}

long double FromNative(TRepUnit units, bool horizontal, long double value, int resolution,
                       int zoom, int fontSize) {
    switch (units) {
    case TRepUnit::MM: return NativeToMm(value);
    case TRepUnit::Inches: return NativeToInches(value);
    case TRepUnit::Pixels: return NativeToPixels(value, resolution, zoom);
    case TRepUnit::Characters:
        if (fontSize == 0) return 0;
        return value / CellMm(horizontal, fontSize) * 0.1L;
    case TRepUnit::Native: break;
    }
    return value;
}

long double MmToNative(long double mm) { return mm * 10.0L; }
long double NativeToMm(long double native) { return native * 0.1L; }
long double InchesToNative(long double inches) { return inches * 254.0L; }
long double NativeToInches(long double native) { return native / 254.0L; }
long double PointsToNative(long double points) { return points * 254.0L / 72.0L; }

long double PixelsToNative(long double pixels, int resolution, int zoom) {
    return pixels * (254.0L / resolution) / zoom * 100.0L;
}
long double NativeToPixels(long double native, int resolution, int zoom) {
    return native / (254.0L / resolution) * zoom * 0.01L;
}

long double DeviceFactor(int dpi) { return dpi / 254.0L; }
long double NativeToDevice(long double native, long double factor) { return native * factor; }
long double DeviceToNative(long double device, long double factor) { return device / factor; }
long double DotsToNative(long double dots, int dpi) { return dots / dpi * 254.0L; }
long double PointsToDevice(long double points, long double factor) {
    return factor * 254.0L / 72.0L * points;
}

// --- Paper ------------------------------------------------------------------

const std::array<TRepPaperDims, 26>& PaperSizesMm() {
    static const std::array<TRepPaperDims, 26> sizes = {{
        {215.9L, 279.4L},  // Letter
        {215.9L, 279.4L},  // LetterSmall
        {279.4L, 431.8L},  // Tabloid
        {431.8L, 279.4L},  // Ledger
        {215.9L, 355.6L},  // Legal
        {139.7L, 215.9L},  // Statement
        {190.5L, 254.0L},  // Executive
        {297.0L, 420.0L},  // A3
        {210.0L, 297.0L},  // A4
        {210.0L, 297.0L},  // A4Small
        {148.0L, 210.0L},  // A5
        {250.0L, 354.0L},  // B4
        {182.0L, 257.0L},  // B5
        {215.9L, 330.2L},  // Folio
        {215.0L, 275.0L},  // Quarto
        {254.0L, 355.6L},  // Size10X14
        {279.4L, 431.8L},  // Size11X17
        {215.9L, 279.0L},  // Note: 279.0, not 279.4
        {98.43L, 225.4L},  // Env9
        {104.8L, 241.3L},  // Env10
        {114.3L, 263.5L},  // Env11
        {101.6L, 279.4L},  // Env12
        {127.0L, 292.1L},  // Env14
        {100.0L, 100.0L},  // CSheet: not the nominal sheet sizes
        {100.0L, 100.0L},  // DSheet
        {100.0L, 100.0L},  // ESheet
    }};
    return sizes;
}

namespace {

// Letter..ESheet; also false for a value cast from outside the enumeration.
bool HasStandardSize(TRepPaperSize size) {
    const int i = static_cast<int>(size);
    return i >= 1 && i <= 26;
}

}  // namespace

std::optional<TRepPaperDims> PaperSizeMm(TRepPaperSize size, bool landscape) {
    if (!HasStandardSize(size)) return std::nullopt;
    const auto& d = PaperSizesMm()[static_cast<int>(size) - 1];
    if (landscape) return TRepPaperDims{d.Length, d.Width};
    return d;
}

std::optional<TRepPaperTenths> PaperSizeTenths(TRepPaperSize size) {
    const auto mm = PaperSizeMm(size, false);
    if (!mm) return std::nullopt;
    return TRepPaperTenths{RoundEven(MmToNative(mm->Width)), RoundEven(MmToNative(mm->Length))};
}

int PaperCode(TRepPaperSize size) {
    if (size == TRepPaperSize::Custom) return 256;
    return static_cast<int>(size);  // Default 0, the others their ordinal
}

std::optional<TRepPaperSize> PaperSizeFromCode(int code) {
    for (int i = 0; i < PaperSizeCount; ++i) {
        const auto size = static_cast<TRepPaperSize>(i);
        if (PaperCode(size) == code) return size;
    }
    return std::nullopt;
}

// --- Paper bins -------------------------------------------------------------

namespace {

constexpr int kBinCodes[BinCount] = {1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};

}  // namespace

int BinCode(TRepBin bin) {
    const int i = static_cast<int>(bin);
    if (i < 0 || i >= BinCount) return kBinCodes[0];  // a value cast from outside the enumeration
    return kBinCodes[i];
}

std::optional<TRepBin> BinFromCode(int code) {
    for (int i = 0; i < BinCount; ++i)
        if (kBinCodes[i] == code) return static_cast<TRepBin>(i);
    return std::nullopt;
}

}  // namespace rep
