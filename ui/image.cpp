#include "ui/image.h"

#include "ui/metafile.h"

namespace ui {

Image::Image(Window& parent, int x, int y, int w, int h) {
    // Siblings laid over the picture (a caption on it) are not painted over.
    createCustom(parent.hwnd(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, x, y, w, h);
}

void Image::setPicture(EnhMetaFile picture) {
    picture_ = std::move(picture);
    invalidate();
}

LRESULT Image::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PaintDC dc(hwnd());
        RECT r;
        GetClientRect(hwnd(), &r);
        FillRect(dc.get(), &r, GetSysColorBrush(COLOR_BTNFACE));
        if (picture_) DrawMetafile(dc.get(), picture_.get(), r);
        return 0;
    }
    if (msg == WM_ERASEBKGND) return 1;
    return Window::handleMessage(msg, wp, lp);
}

}  // namespace ui
