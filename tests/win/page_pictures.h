#pragma once
// Real page pictures recorded with GDI, what their records say, scratch folders and test bytes.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cwctype>
#include <random>
#include <string>
#include <vector>

#include "ui/handles.h"
#include "ui/metafile.h"

namespace pagetest {

// A4 portrait at 96 pixels per inch, as a report page is recorded.
constexpr int kPageWidthPx = 794;
constexpr int kPageHeightPx = 1123;

struct Label {
    int x, y;         // reference point, page pixels
    int heightPx;     // character height (negative LOGFONT height)
    std::wstring face;
    std::wstring text;
};

struct Fill {
    RECT box;
    COLORREF colour;
};

// One page as a report label would draw it: a font per label, ExtTextOutW at the
// label's point with top-left alignment and a transparent background; then the fills.
inline ui::EnhMetaFile RecordPage(const std::vector<Label>& labels,
                                  const std::vector<Fill>& fills = {}) {
    ui::MetafileRecorder rec(kPageWidthPx, kPageHeightPx);
    HDC dc = rec.canvas();
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const Label& l : labels) {
        ui::FontHandle font(CreateFontW(-l.heightPx, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH, l.face.c_str()));
        ui::SelectGuard use(dc, font.get());
        ExtTextOutW(dc, l.x, l.y, 0, nullptr, l.text.c_str(), static_cast<UINT>(l.text.size()),
                    nullptr);
    }
    for (const Fill& f : fills) {
        ui::BrushHandle brush(CreateSolidBrush(f.colour));
        ui::PenHandle pen(CreatePen(PS_NULL, 0, 0));
        ui::SelectGuard useBrush(dc, brush.get());
        ui::SelectGuard usePen(dc, pen.get());
        Rectangle(dc, f.box.left, f.box.top, f.box.right, f.box.bottom);
    }
    return rec.close();
}

// A page of `lines` Russian labels, different on every page number.
inline std::vector<Label> ReportLabels(int page, int lines) {
    static const wchar_t* const kWords[] = {
        L"Иванов",     L"Пётр",        L"Сергеевич",   L"Математика", L"отлично",
        L"хорошо",     L"Физика",      L"Информатика", L"72 часа",    L"удовлетворительно",
        L"Технология", L"машиностроения", L"Практика",  L"Экзамен",    L"Квалификация"};
    std::vector<Label> labels;
    for (int i = 0; i < lines; ++i) {
        std::wstring text = std::to_wstring(page) + L"." + std::to_wstring(i + 1);
        for (int w = 0; w < 3 + (i + page) % 4; ++w)
            text += L" " + std::wstring(kWords[(i * 7 + w * 3 + page) % 15]);
        labels.push_back(Label{40 + (i % 3) * 220, 30 + i * 17, 13 + i % 3, L"Arial", text});
    }
    return labels;
}

struct TextSeen {
    std::wstring text;
    POINTL reference;
};

struct FontSeen {
    std::wstring face;
    LONG height;
};

struct RectangleSeen {
    RECTL box;       // inclusive, as the record keeps it: right and bottom one less
    COLORREF brush;  // colour of the brush selected when it was drawn
};

struct PageContent {
    std::vector<TextSeen> texts;
    std::vector<FontSeen> fonts;
    std::vector<RectangleSeen> rectangles;
};

// What a page picture draws, read record by record as the system enumerates them.
inline PageContent ContentOf(HENHMETAFILE emf) {
    PageContent seen;
    std::vector<std::pair<DWORD, COLORREF>> brushes;  // object index, colour
    COLORREF brush = RGB(255, 255, 255);
    for (const ui::EmfRecord& r : ui::EmfRecords(emf)) {
        switch (r.type) {
            case EMR_EXTTEXTOUTW: {
                const auto t = r.as<EMREXTTEXTOUTW>();
                std::wstring text(t.emrtext.nChars, L'\0');
                for (DWORD i = 0; i < t.emrtext.nChars; ++i)
                    text[i] = r.at<wchar_t>(t.emrtext.offString + 2 * i);
                seen.texts.push_back({text, t.emrtext.ptlReference});
                break;
            }
            case EMR_EXTCREATEFONTINDIRECTW: {
                const auto f = r.at<LOGFONTW>(offsetof(EMREXTCREATEFONTINDIRECTW, elfw));
                seen.fonts.push_back({f.lfFaceName, f.lfHeight});
                break;
            }
            case EMR_CREATEBRUSHINDIRECT: {
                const auto b = r.as<EMRCREATEBRUSHINDIRECT>();
                brushes.emplace_back(b.ihBrush, b.lb.lbColor);
                break;
            }
            case EMR_SELECTOBJECT: {
                const auto s = r.as<EMRSELECTOBJECT>();
                for (const auto& [index, colour] : brushes)
                    if (index == s.ihObject) brush = colour;
                break;
            }
            case EMR_DELETEOBJECT: {
                const auto d = r.as<EMRDELETEOBJECT>();
                std::erase_if(brushes, [&](const auto& b) { return b.first == d.ihObject; });
                break;
            }
            case EMR_RECTANGLE:
                seen.rectangles.push_back({r.as<EMRRECTANGLE>().rclBox, brush});
                break;
            default:
                break;
        }
    }
    return seen;
}

// The texts a page picture draws, in drawing order; none for no picture.
inline std::vector<std::wstring> TextsOf(HENHMETAFILE emf) {
    std::vector<std::wstring> texts;
    if (!emf) return texts;
    for (const auto& t : ContentOf(emf).texts) texts.push_back(t.text);
    return texts;
}

// n bytes of a repeatable pseudo-random pattern.
inline std::vector<std::uint8_t> Pattern(std::size_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
    return bytes;
}

inline std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

// The system's temporary folder, with its closing backslash.
inline std::wstring TempFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

// A folder of its own under the system's temporary folder, removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        static int serial = 0;
        path_ = std::wstring(temp) + L"pagestore-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++serial);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileW((path_ + L"\\" + found.cFileName).c_str());
            } while (FindNextFileW(h, &found));
            FindClose(h);
        }
        RemoveDirectoryW(path_.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

inline bool FileExists(const std::wstring& name) {
    return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::vector<std::uint8_t> FileBytes(const std::wstring& name) {
    ui::FileHandle f(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
    std::vector<std::uint8_t> bytes;
    if (!f) return bytes;
    bytes.resize(GetFileSize(f.get(), nullptr));
    DWORD got = 0;
    if (!bytes.empty()) ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    bytes.resize(got);
    return bytes;
}

inline void WriteFileBytes(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    ui::FileHandle f(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD put = 0;
    if (f && !bytes.empty())
        WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
}

}  // namespace pagetest
