#include "ui/picture_file.h"

#include <windows.h>
#include <wincodec.h>

#include <cwctype>

#include "ui/com_ptr.h"
#include "ui/error.h"

namespace ui {

namespace {

// COM for the calling thread as long as the guard lives, when it was not on already.
class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT hr_;
};

// What went wrong, in the secretary's words: the codecs' own answers are numbers.
std::wstring Why(HRESULT hr) {
    const auto win32 = [hr](DWORD code) { return hr == static_cast<HRESULT>(0x80070000u | code); };
    if (hr == WINCODEC_ERR_COMPONENTNOTFOUND || hr == WINCODEC_ERR_UNKNOWNIMAGEFORMAT)
        return L"это не рисунок (нужен файл BMP, PNG или JPEG)";
    if (win32(ERROR_FILE_NOT_FOUND) || win32(ERROR_PATH_NOT_FOUND)) return L"файл не найден";
    if (hr == E_ACCESSDENIED || win32(ERROR_SHARING_VIOLATION))
        return L"файл недоступен (нет прав или он занят другой программой)";
    if (hr == E_OUTOFMEMORY) return L"рисунок слишком велик";
    if (hr == E_INVALIDARG) return L"это не рисунок бланка: у него нет размеров или они больше 20000 точек";
    return L"файл рисунка повреждён";
}

// A file named as a picture that no codec reads is a spoilt picture, not another kind of file.
bool NamedAsPicture(const std::wstring& path) {
    const auto dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || path.find_first_of(L"\\/", dot) != std::wstring::npos) return false;
    std::wstring ext = path.substr(dot + 1);
    for (wchar_t& c : ext) c = static_cast<wchar_t>(towlower(c));
    return ext == L"bmp" || ext == L"png" || ext == L"jpg" || ext == L"jpeg" || ext == L"dib";
}

[[noreturn]] void Fail(const std::wstring& path, HRESULT hr) {
    const bool noCodec = hr == WINCODEC_ERR_COMPONENTNOTFOUND || hr == WINCODEC_ERR_UNKNOWNIMAGEFORMAT;
    throw Error(L"Не удалось прочитать рисунок " + path + L": " +
                (noCodec && NamedAsPicture(path) ? std::wstring(L"файл рисунка повреждён") : Why(hr)));
}

void Check(HRESULT hr, const std::wstring& path) {
    if (FAILED(hr)) Fail(path, hr);
}

}  // namespace

BitmapHandle LoadPictureFile(const std::wstring& path) {
    ComApartment com;
    ComPtr<IWICImagingFactory> factory;
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           reinterpret_cast<void**>(factory.put())),
          path);
    ComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                             decoder.put()),
          path);
    ComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.put()), path);
    ComPtr<IWICFormatConverter> converter;
    Check(factory->CreateFormatConverter(converter.put()), path);
    Check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom),
          path);
    UINT w = 0, h = 0;
    Check(converter->GetSize(&w, &h), path);
    // A scan of a page at 600 dpi is about 5000 x 7000; far beyond that is no blank.
    if (w == 0 || h == 0 || w > 20000 || h > 20000) Fail(path, E_INVALIDARG);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = static_cast<LONG>(w);
    bi.bmiHeader.biHeight = -static_cast<LONG>(h);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) throwLastError(L"Не удалось прочитать рисунок " + path);
    const UINT stride = w * 4;
    Check(converter->CopyPixels(nullptr, stride, stride * h, static_cast<BYTE*>(bits)), path);
    return bitmap;
}

}  // namespace ui
