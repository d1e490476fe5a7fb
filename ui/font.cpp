#include "ui/font.h"

#include <map>
#include <tuple>

#include "ui/error.h"
#include "ui/handles.h"

namespace ui {

HFONT font(const std::wstring& face, int heightPx, unsigned style) {
    static std::map<std::tuple<std::wstring, int, unsigned>, FontHandle> cache;
    auto key = std::make_tuple(face, heightPx, style);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second.get();
    LOGFONTW lf{};
    lf.lfHeight = -heightPx;
    lf.lfWeight = (style & Bold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & Italic) ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    FontHandle f(CreateFontIndirectW(&lf));
    if (!f) throwLastError(L"Cannot create font " + face);
    HFONT h = f.get();
    cache.emplace(key, std::move(f));
    return h;
}

// Measured on a screen-compatible memory context, which gives the window's own figures:
// a window's context costs more with every sibling it has, and forms have hundreds.
SIZE textExtent(HFONT f, const std::wstring& s) {
    static const MemoryDC screen(CreateCompatibleDC(nullptr));
    if (!screen) return {0, 0};
    SelectGuard sel(screen.get(), f ? static_cast<HGDIOBJ>(f) : GetStockObject(SYSTEM_FONT));
    RECT r{0, 0, 0, 0};
    DrawTextW(screen.get(), s.c_str(), static_cast<int>(s.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return {r.right, r.bottom};
}

}  // namespace ui
