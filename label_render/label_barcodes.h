// Barcodes as bars and modules in dots, encoded by libzint and laid out the way label printers
// size them: a module width in dots, a wide-to-narrow ratio for the two-width codes, a bar or
// row height in dots.
#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <vector>

namespace velkaro::label {

enum class Symbology {
    Code128,
    Code39,
    Code93,
    Interleaved2of5,
    Codabar,
    Ean13,
    Ean8,
    UpcA,
    UpcE,
    Qr,
    DataMatrix,
    Pdf417,
    Aztec,
};

struct BarcodeRequest {
    Symbology kind = Symbology::Code128;
    QByteArray data;
    bool checkDigit = false;  // Code 39, Interleaved 2 of 5: add the optional check digit
    int narrow = 2;           // module width / narrow element in dots
    int wide = 6;             // wide element in dots (two-width codes)
    int height = 100;         // bar height (1D) or row height (PDF417) in dots; 0: square
    int qrErrorLevel = 2;     // 1 L, 2 M, 3 Q, 4 H
    int pdfSecurity = -1;     // PDF417 error correction level 0-8, -1 automatic
    int pdfColumns = 0;       // PDF417 data columns, 0 automatic
};

struct BarcodeDrawing {
    bool ok = false;
    QString error;
    int width = 0;   // in dots
    int height = 0;  // in dots, bars only
    std::vector<QRect> bars;
    QString humanReadable;  // the interpretation line the symbology prints
    bool twoDimensional = false;
};

BarcodeDrawing DrawBarcode(const BarcodeRequest& request);

}  // namespace velkaro::label
