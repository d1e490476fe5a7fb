#include "ui/picture_file.h"

#include <windows.h>
#include <wincodec.h>

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

[[noreturn]] void Fail(const std::wstring& path, HRESULT hr) {
    const std::wstring why = systemMessage(static_cast<DWORD>(hr));
    throw Error(L"Не удалось прочитать рисунок " + path + (why.empty() ? L"" : L": " + why));
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
