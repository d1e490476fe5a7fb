#pragma once
// Report lengths: native units of 0.1 mm in 80-bit extended (long double under
// MinGW), the user units that view them, the paper sizes and paper bins.
#include <array>
#include <optional>

namespace rep {

// --- Rounding ---------------------------------------------------------------

// Nearest integer, halves to the even neighbour. NaN gives 0; values outside
// the 32-bit range are clamped to it, so native and Windows builds agree.
long RoundEven(long double x);

// --- Units ------------------------------------------------------------------

enum class TRepUnit { MM = 0, Inches = 1, Pixels = 2, Characters = 3, Native = 4 };

inline constexpr int ScreenPixelsPerInch = 96;

// Unit -> native and back. `resolution` is the display's pixels per inch and
// `zoom` a percentage, both positive. `fontSize` is the report font's size in
// points (its absolute value counts); only Characters uses it, and
// `horizontal` picks the cell width rather than its height. A font of size 0
// has no cell: Characters then converts everything to 0.
long double ToNative(TRepUnit units, bool horizontal, long double value, int resolution,
                     int zoom, int fontSize);
long double FromNative(TRepUnit units, bool horizontal, long double value, int resolution,
                       int zoom, int fontSize);

long double MmToNative(long double mm);
long double NativeToMm(long double native);
long double InchesToNative(long double inches);
long double NativeToInches(long double native);
long double PointsToNative(long double points);

// Report pixels at a display resolution and zoom percent.
long double PixelsToNative(long double pixels, int resolution, int zoom);
long double NativeToPixels(long double native, int resolution, int zoom);

// Device pixels per native unit of a device with `dpi` dots per inch.
long double DeviceFactor(int dpi);
long double NativeToDevice(long double native, long double factor);
long double DeviceToNative(long double device, long double factor);
// A device length given in its own dots, as read from a driver.
long double DotsToNative(long double dots, int dpi);
// A thickness in points (a frame width) on a device: factor × 254 ÷ 72 × points.
long double PointsToDevice(long double points, long double factor);

// --- Paper ------------------------------------------------------------------

enum class TRepPaperSize {
    Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive,
    A3, A4, A4Small, A5, B4, B5, Folio, Quarto, Size10X14, Size11X17, Note,
    Env9, Env10, Env11, Env12, Env14, CSheet, DSheet, ESheet, Custom,
};
inline constexpr int PaperSizeCount = 28;

struct TRepPaperDims {
    long double Width;
    long double Length;
};

// Portrait width x length in millimetres of sizes Letter..ESheet (ordinals 1..26).
const std::array<TRepPaperDims, 26>& PaperSizesMm();

// Size in mm in the given orientation; nullopt for Default and Custom.
std::optional<TRepPaperDims> PaperSizeMm(TRepPaperSize size, bool landscape);

struct TRepPaperTenths {
    long Width;
    long Length;
};
// Portrait size in tenths of a millimetre (mm × 10, rounded half to even);
// nullopt for Default and Custom.
std::optional<TRepPaperTenths> PaperSizeTenths(TRepPaperSize size);

// Device-mode paper codes: Default 0, Letter..ESheet their ordinal, Custom 256.
int PaperCode(TRepPaperSize size);
// The first size in table order with that code; nullopt if none has it.
std::optional<TRepPaperSize> PaperSizeFromCode(int code);

// --- Paper bins -------------------------------------------------------------

enum class TRepBin {
    First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor,
    SmallFormat, LargeFormat, LargeCapacity, Cassette, Last,
};
inline constexpr int BinCount = 14;

// Device-mode paper source code.
int BinCode(TRepBin bin);
// The first bin in table order with that code (1 -> First, 14 -> Cassette).
std::optional<TRepBin> BinFromCode(int code);

}  // namespace rep
