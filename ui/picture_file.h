#pragma once
// Pictures read from BMP, PNG or JPEG files through the system's imaging codecs.
#include <string>

#include "ui/handles.h"

namespace ui {

// The first frame of the file as a 32-bit top-down DIB section. A file that cannot be
// opened or decoded throws ui::Error saying so, with the path.
BitmapHandle LoadPictureFile(const std::wstring& path);

}  // namespace ui
