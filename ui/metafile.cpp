#include "ui/metafile.h"

#include <climits>

#include "ui/error.h"

namespace ui {

RECT MetafileFrame(HDC reference, int widthPx, int heightPx) {
    const int hres = GetDeviceCaps(reference, HORZRES);
    const int vres = GetDeviceCaps(reference, VERTRES);
    const int hsize = GetDeviceCaps(reference, HORZSIZE);
    const int vsize = GetDeviceCaps(reference, VERTSIZE);
    if (hres <= 0 || vres <= 0 || hsize <= 0 || vsize <= 0)
        throw Error(L"The reference device reports no size");
    return RECT{0, 0, MulDiv(widthPx, hsize * 100, hres), MulDiv(heightPx, vsize * 100, vres)};
}

MetafileRecorder::MetafileRecorder(int widthPx, int heightPx, HDC reference) {
    if (widthPx <= 0 || heightPx <= 0) throw Error(L"A page picture needs a size");
    // The screen is only needed while the recording device is made.
    WindowDC screen(nullptr);
    HDC ref = reference ? reference : screen.get();
    if (!ref) throwLastError(L"Cannot reach the screen");
    const RECT frame = MetafileFrame(ref, widthPx, heightPx);
    dc_ = CreateEnhMetaFileW(ref, nullptr, &frame, nullptr);
    if (!dc_) throwLastError(L"Cannot record a page picture");
}

MetafileRecorder::~MetafileRecorder() {
    if (dc_) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
}

EnhMetaFile MetafileRecorder::close() {
    if (!dc_) throw Error(L"The page picture is already complete");
    HENHMETAFILE emf = CloseEnhMetaFile(std::exchange(dc_, nullptr));
    if (!emf) throwLastError(L"Cannot complete a page picture");
    return EnhMetaFile(emf);
}

std::vector<std::uint8_t> EmfBytes(HENHMETAFILE emf) {
    const UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
    if (size == 0) throwLastError(L"Cannot read a page picture");
    std::vector<std::uint8_t> bytes(size);
    if (GetEnhMetaFileBits(emf, size, bytes.data()) != size)
        throwLastError(L"Cannot read a page picture");
    return bytes;
}

EnhMetaFile EmfFromBytes(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > UINT_MAX) throw Error(L"The page picture is damaged");
    HENHMETAFILE emf = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    if (!emf) throw Error(L"The page picture is damaged");
    return EnhMetaFile(emf);
}

bool DrawMetafile(HDC dc, HENHMETAFILE emf, const RECT& target) {
    return PlayEnhMetaFile(dc, emf, &target) != FALSE;
}

namespace {

int CALLBACK CollectRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param) {
    auto& records = *reinterpret_cast<std::vector<EmfRecord>*>(param);
    const auto* begin = reinterpret_cast<const std::uint8_t*>(record);
    records.push_back(EmfRecord{record->iType, {begin, begin + record->nSize}});
    return 1;
}

}  // namespace

std::vector<EmfRecord> EmfRecords(HENHMETAFILE emf) {
    std::vector<EmfRecord> records;
    if (!EnumEnhMetaFile(nullptr, emf, CollectRecord, &records, nullptr))
        throw Error(L"Cannot enumerate the records of a page picture");
    return records;
}

}  // namespace ui
