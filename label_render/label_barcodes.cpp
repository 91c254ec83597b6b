#include "label_render/label_barcodes.h"

#include <zint.h>

#include <algorithm>
#include <memory>

namespace velkaro::label {
namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

bool ModuleSet(const zint_symbol& symbol, int row, int column) {
    return (symbol.encoded_data[row][column >> 3] >> (column & 7)) & 1;
}

int ZintSymbology(const BarcodeRequest& request) {
    switch (request.kind) {
        case Symbology::Code128:
            return BARCODE_CODE128;
        case Symbology::Code39:
            return BARCODE_CODE39;
        case Symbology::Code93:
            return BARCODE_CODE93;
        case Symbology::Interleaved2of5:
            return BARCODE_C25INTER;
        case Symbology::Codabar:
            return BARCODE_CODABAR;
        case Symbology::Ean13:
        case Symbology::Ean8:
            return BARCODE_EANX;
        case Symbology::UpcA:
            return BARCODE_UPCA;
        case Symbology::UpcE:
            return BARCODE_UPCE;
        case Symbology::Qr:
            return BARCODE_QRCODE;
        case Symbology::DataMatrix:
            return BARCODE_DATAMATRIX;
        case Symbology::Pdf417:
            return BARCODE_PDF417;
        case Symbology::Aztec:
            return BARCODE_AZTEC;
    }
    return BARCODE_CODE128;
}

// The digits a UPC/EAN symbol takes without its check digit, which zint computes itself.
QByteArray WithoutCheckDigit(const BarcodeRequest& request) {
    int digits = 0;
    switch (request.kind) {
        case Symbology::Ean13:
            digits = 12;
            break;
        case Symbology::Ean8:
            digits = 7;
            break;
        case Symbology::UpcA:
            digits = 11;
            break;
        case Symbology::UpcE:
            digits = 7;
            break;
        default:
            return request.data;
    }
    QByteArray data = request.data.left(digits);
    while (data.size() < digits) data.prepend('0');
    return data;
}

bool TwoWidthCode(Symbology kind) {
    return kind == Symbology::Code39 || kind == Symbology::Interleaved2of5 ||
           kind == Symbology::Codabar;
}

bool TwoDimensional(Symbology kind) {
    return kind == Symbology::Qr || kind == Symbology::DataMatrix || kind == Symbology::Pdf417 ||
           kind == Symbology::Aztec;
}

// zint lays out two-width codes with wide elements two or three modules long; printers use the
// ratio they were given, so each run becomes a narrow or a wide element of its own width.
void LinearBars(const zint_symbol& symbol, const BarcodeRequest& request, BarcodeDrawing& out) {
    const bool twoWidth = TwoWidthCode(request.kind);
    const int narrow = std::max(1, request.narrow);
    const int wide = std::max(narrow, request.wide);
    int x = 0;
    int column = 0;
    while (column < symbol.width) {
        const bool dark = ModuleSet(symbol, 0, column);
        int run = 1;
        while (column + run < symbol.width && ModuleSet(symbol, 0, column + run) == dark) ++run;
        const int dots = twoWidth ? (run > 1 ? wide : narrow) : run * narrow;
        if (dark) out.bars.emplace_back(x, 0, dots, out.height);
        x += dots;
        column += run;
    }
    out.width = x;
}

void MatrixModules(const zint_symbol& symbol, int moduleWidth, int rowHeight, BarcodeDrawing& out) {
    for (int row = 0; row < symbol.rows; ++row) {
        for (int column = 0; column < symbol.width;) {
            if (!ModuleSet(symbol, row, column)) {
                ++column;
                continue;
            }
            int run = 1;
            while (column + run < symbol.width && ModuleSet(symbol, row, column + run)) ++run;
            out.bars.emplace_back(column * moduleWidth, row * rowHeight, run * moduleWidth,
                                  rowHeight);
            column += run;
        }
    }
    out.width = symbol.width * moduleWidth;
    out.height = symbol.rows * rowHeight;
}

}  // namespace

BarcodeDrawing DrawBarcode(const BarcodeRequest& request) {
    BarcodeDrawing out;
    out.twoDimensional = TwoDimensional(request.kind);
    Symbol symbol(ZBarcode_Create());
    if (!symbol) return out;
    symbol->symbology = ZintSymbology(request);
    symbol->input_mode = DATA_MODE;
    switch (request.kind) {
        case Symbology::Code39:
        case Symbology::Interleaved2of5:
            symbol->option_2 = request.checkDigit ? 1 : 0;
            break;
        case Symbology::Qr:
            symbol->option_1 = std::clamp(request.qrErrorLevel, 1, 4);
            break;
        case Symbology::DataMatrix:
            symbol->option_3 = DM_SQUARE;
            break;
        case Symbology::Pdf417:
            if (request.pdfSecurity >= 0) symbol->option_1 = std::min(request.pdfSecurity, 8);
            if (request.pdfColumns > 0) symbol->option_2 = std::min(request.pdfColumns, 30);
            break;
        default:
            break;
    }
    const QByteArray data = WithoutCheckDigit(request);
    if (data.isEmpty()) {
        out.error = QStringLiteral("no data");
        return out;
    }
    const int result = ZBarcode_Encode(
        symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()), data.size());
    if (result >= ZINT_ERROR || symbol->rows < 1 || symbol->width < 1) {
        out.error = QString::fromUtf8(symbol->errtxt);
        return out;
    }
    out.humanReadable = QString::fromUtf8(reinterpret_cast<const char*>(symbol->text));
    const int module = std::max(1, request.narrow);
    if (out.twoDimensional) {
        // PDF417 rows have their own height; the square symbologies use square modules.
        const int rowHeight =
            request.kind == Symbology::Pdf417 && request.height > 0 ? request.height : module;
        MatrixModules(*symbol, module, rowHeight, out);
    } else {
        out.height = std::max(1, request.height);
        LinearBars(*symbol, request, out);
    }
    out.ok = true;
    return out;
}

}  // namespace velkaro::label
