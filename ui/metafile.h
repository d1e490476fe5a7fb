#pragma once
// Enhanced metafiles: recording a page, turning it into bytes and back, drawing it.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <span>
#include <stdexcept>
#include <vector>

#include "ui/handles.h"

namespace ui {

// The frame, in 0.01 mm, of a picture of widthPx x heightPx device pixels of `reference`.
// Computed from the device's size and resolution, the same figures the metafile header
// records, so that playing the picture maps exactly those pixels onto the target.
RECT MetafileFrame(HDC reference, int widthPx, int heightPx);

// Records one page. The canvas speaks the reference device's pixels (the screen unless
// another DC is given); close() completes the recording and hands the picture over.
// A recorder that is never closed throws its recording away.
class MetafileRecorder {
public:
    MetafileRecorder(int widthPx, int heightPx, HDC reference = nullptr);
    ~MetafileRecorder();
    MetafileRecorder(const MetafileRecorder&) = delete;
    MetafileRecorder& operator=(const MetafileRecorder&) = delete;

    // Null once closed.
    HDC canvas() const { return dc_; }
    EnhMetaFile close();

private:
    HDC dc_ = nullptr;
};

// The platform's serialisation of a picture: header record first, end record last.
std::vector<std::uint8_t> EmfBytes(HENHMETAFILE emf);
// Throws ui::Error when the system does not accept the bytes as a metafile.
EnhMetaFile EmfFromBytes(std::span<const std::uint8_t> bytes);

// Plays the picture with its frame stretched onto `target`. False when some record
// could not be played; what could be drawn is drawn.
bool DrawMetafile(HDC dc, HENHMETAFILE emf, const RECT& target);

struct EmfRecord {
    DWORD type = 0;
    std::vector<std::uint8_t> bytes;  // the whole record, type and size fields included

    // A copy of the platform's structure that starts `offset` bytes into the record.
    template <class T>
    T at(std::size_t offset) const {
        if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
            throw std::out_of_range("metafile record too short");
        T value;
        std::memcpy(&value, bytes.data() + offset, sizeof value);
        return value;
    }
    template <class T>
    T as() const {
        return at<T>(0);
    }
};

// Every record in playing order, as the system enumerates them.
std::vector<EmfRecord> EmfRecords(HENHMETAFILE emf);

}  // namespace ui
