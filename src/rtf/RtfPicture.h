#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace quillet {

// A picture of an RTF document.
struct RtfPicture {
    enum Kind : int { Jpeg = 0, Png = 1, Pict = 2, Bitmap = 3, Emf = 4, Wmf = 5, Other = 6 };

    int kind = Other;
    std::shared_ptr<const std::vector<uint8_t>> data;
    uint32_t size = 0;
};

// ".jpg", ".png", ".pict", ".bmp", ".emf", ".wmf"; empty for any other kind.
const char* imageExtension(int kind);

}  // namespace quillet
