#pragma once

#include <string>
#include <vector>

namespace tallora {

// The modules of a QR code, row by row, without the quiet zone around it.
struct BarcodeModules {
    int Size = 0;  // modules a side
    std::vector<bool> Dark;
    bool At(int x, int y) const { return Dark[static_cast<size_t>(y * Size + x)]; }
};

// The QR code of a UTF-8 text; none (Size 0) for a text too long for one.
BarcodeModules QrCode(const std::string& text);

}  // namespace tallora
