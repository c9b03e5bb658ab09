#include "report/Barcode.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <exception>

namespace tallora {

BarcodeModules QrCode(const std::string& text) {
    BarcodeModules modules;
    try {
        // One pixel a module and no margin: the label draws the modules to its own scale.
        const ZXing::BitMatrix matrix = ZXing::MultiFormatWriter(ZXing::BarcodeFormat::QRCode)
                                            .setEncoding(ZXing::CharacterSet::UTF8)
                                            .setMargin(0)
                                            .setEccLevel(4)
                                            .encode(text, 0, 0);
        if (matrix.width() != matrix.height()) return modules;
        modules.Size = matrix.width();
        modules.Dark.resize(static_cast<size_t>(modules.Size) * modules.Size);
        for (int y = 0; y < modules.Size; ++y) {
            for (int x = 0; x < modules.Size; ++x)
                modules.Dark[static_cast<size_t>(y * modules.Size + x)] = matrix.get(x, y);
        }
    } catch (const std::exception&) {
        // Too much text for a QR code: the label goes without one.
        modules = {};
    }
    return modules;
}

}  // namespace tallora
