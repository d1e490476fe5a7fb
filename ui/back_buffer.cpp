#include "ui/back_buffer.h"

#include <algorithm>

namespace ui {

BackBuffer::~BackBuffer() {
    // A bitmap still selected into a context cannot be deleted.
    if (dc_ && original_) SelectObject(dc_.get(), original_);
}

HDC BackBuffer::acquire(HDC like, int w, int h) {
    if (w <= 0 || h <= 0) return nullptr;
    if (dc_ && bitmap_ && w <= w_ && h <= h_) return dc_.get();
    // Grown to the larger of old and new in each direction, so that sizes taking turns
    // do not make a new bitmap every time.
    const int nw = std::max(w, w_), nh = std::max(h, h_);
    if (dc_ && original_) SelectObject(dc_.get(), original_);
    original_ = nullptr;
    bitmap_.reset();
    w_ = h_ = 0;
    if (!dc_) dc_.reset(CreateCompatibleDC(like));
    if (!dc_) return nullptr;
    bitmap_.reset(CreateCompatibleBitmap(like, nw, nh));
    if (!bitmap_) return nullptr;
    original_ = SelectObject(dc_.get(), bitmap_.get());
    w_ = nw;
    h_ = nh;
    return dc_.get();
}

BackBuffer::Use::Use(BackBuffer& buffer, HDC like, int w, int h) : dc_(buffer.acquire(like, w, h)) {
    if (dc_) saved_ = SaveDC(dc_);
}

BackBuffer::Use::~Use() {
    if (dc_ && saved_) RestoreDC(dc_, saved_);
}

BackBuffer& sharedBackBuffer() {
    static BackBuffer buffer;
    return buffer;
}

}  // namespace ui
