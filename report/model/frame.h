#pragma once
// The border of a report, band or printable: which sides, how thick, in what colour.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#ifdef _WIN32
// The device context and rectangle of the Win32 side (frame_draw.cpp), declared
// without the platform headers.
struct HDC__;
struct tagRECT;
#endif

namespace rep {

// Pen styles with the values of the platform's pen styles.
enum class TRepPenStyle { psSolid = 0, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

inline constexpr std::uint32_t clBlack = 0x000000;

// A rectangle in device pixels, right and bottom exclusive.
struct TRepRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TRepRect&) const = default;
};

class TRepFrame {
public:
    TRepFrame() = default;
    // The hook of the object the frame belongs to; every change calls it (a repaint).
    explicit TRepFrame(std::function<void()> changed) : changed_(std::move(changed)) {}
    TRepFrame(const TRepFrame&) = delete;
    TRepFrame& operator=(const TRepFrame&) = delete;

    // Copies the look of another frame; the owner's hook stays.
    void Assign(const TRepFrame& other);

    std::uint32_t Color() const { return color_; }
    void SetColor(std::uint32_t color) { Set(color_, color); }
    bool DrawTop() const { return top_; }
    bool DrawBottom() const { return bottom_; }
    bool DrawLeft() const { return left_; }
    bool DrawRight() const { return right_; }
    void SetDrawTop(bool on) { Set(top_, on); }
    void SetDrawBottom(bool on) { Set(bottom_, on); }
    void SetDrawLeft(bool on) { Set(left_, on); }
    void SetDrawRight(bool on) { Set(right_, on); }
    TRepPenStyle Style() const { return style_; }
    void SetStyle(TRepPenStyle style) { Set(style_, style); }
    // Line width in points (1/72 inch).
    int Width() const { return width_; }
    void SetWidth(int width) { Set(width_, width); }

    // The legacy "Mode" of old form definitions: accepted, ignored, never written.
    void ReadMode(int) {}

    bool AnyFrame() const { return top_ || bottom_ || left_ || right_; }

    // Line thickness in device pixels for a factor of device pixels per native unit.
    int Thickness(long double factor) const;

    // The enabled sides as filled rectangles inside `rect`, in drawing order:
    // top, bottom, left, right.
    std::vector<TRepRect> Sides(const TRepRect& rect, long double xFactor,
                                long double yFactor) const;

#ifdef _WIN32
    // Paints the enabled sides as filled rectangles inside `rect` (device pixels);
    // the factors are the device's pixels per native unit. Leaves the context's
    // brush clear, as later drawing on the page expects.
    void Draw(HDC__* dc, const tagRECT& rect, long double xFactor, long double yFactor) const;
#endif

private:
    template <class T>
    void Set(T& field, T value) {
        field = value;
        if (changed_) changed_();
    }

    std::function<void()> changed_;
    std::uint32_t color_ = clBlack;
    bool top_ = false;
    bool bottom_ = false;
    bool left_ = false;
    bool right_ = false;
    TRepPenStyle style_ = TRepPenStyle::psSolid;
    int width_ = 1;
};

}  // namespace rep
