#pragma once
// The preview control: one recorded page of a report printer at a chosen zoom, inside a
// scrolling area, kept up to date by the printer's page-available and progress messages.
#include <windows.h>

#include <functional>
#include <vector>

#include "report/run/misfit_check.h"
#include "ui/handles.h"
#include "ui/window.h"

namespace rep {

class TRepPrinter;
class TRepPreview;

enum TRepPreviewZoomMode : unsigned char { pzFitPage = 0, pzFitWidth = 1, pzPercent = 2 };

// Mouse handlers: the button (0 left, 1 right, 2 middle; -1 for a move), the key state of
// the message (MK_SHIFT, MK_CONTROL, ...) and the point in the receiver's own coordinates.
using TRepMouseEvent = std::function<void(int button, unsigned keys, int x, int y)>;
using TRepNotifyEvent = std::function<void()>;

struct TRepMouseHandlers {
    TRepNotifyEvent OnClick;
    TRepNotifyEvent OnDblClick;
    TRepMouseEvent OnMouseDown;
    TRepMouseEvent OnMouseMove;
    TRepMouseEvent OnMouseUp;
};

// The page image: a windowless child of the preview that holds the picture of one page
// and paints it on the preview's window.
class TRepPreviewImage : public TRepMouseHandlers {
public:
    explicit TRepPreviewImage(TRepPreview& owner);
    TRepPreviewImage(const TRepPreviewImage&) = delete;
    TRepPreviewImage& operator=(const TRepPreviewImage&) = delete;

    // A copy of the preview's printer, set together with it.
    TRepPrinter* ReportPrinter = nullptr;
    int PageNumber() const { return pageNumber_; }
    bool HasPage() const { return static_cast<bool>(picture_); }
    HENHMETAFILE PagePicture() const { return picture_.get(); }

    // Holds the picture of page n (none while the page is not stored) and redraws at once.
    void ShowPage(int n);
    // Draws the page into dc with the image's top-left corner at the origin.
    void Paint(HDC dc) const;

    // Bounds in the preview's scrolled area (not moved by scrolling).
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetBounds(int left, int top, int width, int height);

private:
    void Repaint();
    void DrawMarks(HDC dc, const std::vector<TRepNativeRect>& marks, int w, int h) const;

    TRepPreview& owner_;
    int pageNumber_ = 1;
    ui::EnhMetaFile picture_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 100;
    int height_ = 50;
};

class TRepPreview : public ui::Window, public TRepMouseHandlers {
public:
    TRepPreview(ui::Window& parent, int x = 0, int y = 0);
    ~TRepPreview() override;

    TRepPrinter* ReportPrinter() const { return printer_; }
    // Attaches a printer (or none): the printer then posts its messages to this control.
    void SetReportPrinter(TRepPrinter* printer);

    int PageNumber() const { return pageNumber_; }
    void SetPageNumber(int n);
    // Page n as SetPageNumber goes there, but read from the printer again even when it is
    // the page on screen (new pages behind the same numbers).
    void ShowPageAfresh(int n);
    int Zoom() const { return zoom_; }
    // 2..2000 per cent; anything else is ignored, the mode included.
    void SetZoom(int value);
    TRepPreviewZoomMode ZoomMode() const { return zoomMode_; }

    void FitToPage();
    void FitToWidth();
    // Sizes the image for the zoom, centres it when it is smaller than the control, and
    // scrolls back to the top-left corner.
    void LayOutImage();
    // What the control's own resize handler does: keep the zoom mode's fit, lay out again.
    void RefitZoom();

    TRepPreviewImage& Image() { return image_; }
    const TRepPreviewImage& Image() const { return image_; }

    // Frames over the page that point at places on it (native units), and a picture
    // under it stretched to the paper. Both belong to the screen only: they are never
    // part of a page picture, so nothing prints, saves or exports them.
    void SetMarks(std::vector<TRepNativeRect> marks);
    const std::vector<TRepNativeRect>& Marks() const { return marks_; }
    void SetUnderlay(ui::BitmapHandle picture);
    HBITMAP Underlay() const { return underlay_.get(); }

    // Scroll positions in pixels of the scrolled area.
    int HorzPosition() const { return hPos_; }
    int VertPosition() const { return vPos_; }
    void SetHorzPosition(int x);
    void SetVertPosition(int y);
    // The visible part of the scrolled area.
    SIZE ViewSize() const { return clientSize(); }

    // Fired for every page-available message (the page number) and progress message.
    std::function<void(TRepPreview&, int pageNum)> OnPageAvailable;
    std::function<void(TRepPreview&, int progress)> OnProgressUpdate;
    // Runs whenever the control's outer size changes; RefitZoom until replaced.
    std::function<void()> OnResize;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    friend class TRepPreviewImage;
    // SetPageNumber's move; true when it showed the page.
    bool ChangePage(int n);
    void PageAvailableMessage(int page);
    void ProgressMessage(int progress);
    void UpdateScrollBars();
    void ScrollMessage(int bar, WORD code);
    void Paint();
    void InvalidateImage();
    bool Destroying() const { return destroying_; }
    void MouseMessage(UINT msg, WPARAM wp, LPARAM lp);

    TRepPreviewImage image_;
    std::vector<TRepNativeRect> marks_;
    ui::BitmapHandle underlay_;
    TRepPrinter* printer_ = nullptr;
    // The window the printer posts to; kept for the detach after the window is gone.
    HWND ownHwnd_ = nullptr;
    int pageNumber_ = 1;
    int zoom_ = 100;
    TRepPreviewZoomMode zoomMode_ = pzPercent;
    int hPos_ = 0;
    int vPos_ = 0;
    SIZE outer_{0, 0};
    bool updatingBars_ = false;
    // What each bar was last given; each change of a bar costs a frame redraw.
    struct BarState {
        bool need = false;
        int extent = -1, view = -1, pos = -1;
        bool operator==(const BarState&) const = default;
    };
    BarState barH_, barV_;
    bool destroying_ = false;
    bool downOnImage_ = false;
    bool downOnSelf_ = false;
};

}  // namespace rep
