#pragma once
// One off-screen bitmap for flicker-free painting, kept from one paint to the next: the
// first touch of a fresh bitmap the size of a window costs more than drawing into it.
#include <windows.h>

#include "ui/handles.h"

namespace ui {

class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // Draws into the buffer for the time of its life; the memory context's state (origin,
    // clip, objects) is restored when it ends. Not nested: a paint does not paint another.
    class Use {
    public:
        Use(BackBuffer& buffer, HDC like, int w, int h);
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;
        // Null when no bitmap of that size could be made.
        HDC dc() const { return dc_; }

    private:
        HDC dc_ = nullptr;
        int saved_ = 0;
    };

    int width() const { return w_; }
    int height() const { return h_; }

private:
    // A context holding a bitmap of at least w x h, or null.
    HDC acquire(HDC like, int w, int h);

    MemoryDC dc_;
    BitmapHandle bitmap_;
    HGDIOBJ original_ = nullptr;
    int w_ = 0, h_ = 0;
};

// The buffer the windows of this (single) user-interface thread share.
BackBuffer& sharedBackBuffer();

}  // namespace ui
