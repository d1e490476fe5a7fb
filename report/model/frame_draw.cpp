// The frame drawn on a device context: the part of the frame that needs the platform.
#include <windows.h>

#include "report/model/font_gdi.h"
#include "report/model/frame.h"
#include "ui/error.h"
#include "ui/handles.h"

namespace rep {

void TRepFrame::Draw(HDC dc, const RECT& rect, long double xFactor, long double yFactor) const {
    const COLORREF color = ResolveColor(color_);
    ui::PenHandle pen(CreatePen(static_cast<int>(style_), width_, color));
    if (!pen) ui::throwLastError(L"Cannot create the frame pen");
    ui::BrushHandle brush(CreateSolidBrush(color));
    if (!brush) ui::throwLastError(L"Cannot create the frame brush");
    {
        ui::SelectGuard selPen(dc, pen.get());
        ui::SelectGuard selBrush(dc, brush.get());
        const TRepRect r{rect.left, rect.top, rect.right, rect.bottom};
        for (const TRepRect& side : Sides(r, xFactor, yFactor)) {
            const RECT s{side.Left, side.Top, side.Right, side.Bottom};
            FillRect(dc, &s, brush.get());
        }
    }
    SelectObject(dc, GetStockObject(NULL_BRUSH));
}

}  // namespace rep
