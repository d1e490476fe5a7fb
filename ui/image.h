#pragma once
// A picture held as an enhanced metafile, drawn stretched to the control's frame.
#include <windows.h>

#include "ui/handles.h"
#include "ui/window.h"

namespace ui {

class Image : public Window {
public:
    Image(Window& parent, int x, int y, int w, int h);
    void setPicture(EnhMetaFile picture);
    HENHMETAFILE picture() const { return picture_.get(); }
    // Draws the picture into r of dc, as the control paints it.

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    EnhMetaFile picture_;
};

}  // namespace ui
