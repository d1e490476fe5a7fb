#include "report/model/frame.h"

#include "report/model/units.h"

namespace rep {

void TRepFrame::Assign(const TRepFrame& other) {
    color_ = other.color_;
    top_ = other.top_;
    bottom_ = other.bottom_;
    left_ = other.left_;
    right_ = other.right_;
    style_ = other.style_;
    width_ = other.width_;
    if (changed_) changed_();
}

int TRepFrame::Thickness(long double factor) const {
    return static_cast<int>(RoundEven(PointsToDevice(width_, factor)));
}

std::vector<TRepRect> TRepFrame::Sides(const TRepRect& r, long double xFactor,
                                       long double yFactor) const {
    const int h = Thickness(xFactor);
    const int v = Thickness(yFactor);
    std::vector<TRepRect> sides;
    if (top_) sides.push_back({r.Left, r.Top, r.Right, r.Top + v});
    if (bottom_) sides.push_back({r.Left, r.Bottom - v, r.Right, r.Bottom});
    if (left_) sides.push_back({r.Left, r.Top, r.Left + h, r.Bottom});
    if (right_) sides.push_back({r.Right - h, r.Top, r.Right, r.Bottom});
    return sides;
}

}  // namespace rep
