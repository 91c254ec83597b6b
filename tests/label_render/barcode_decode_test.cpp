// Every barcode kind, in every language that has it, drawn and then read back by zxing-cpp.
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include "label_render/label_test_util.h"

namespace velkaro::label::test {
namespace {

struct DecodeCase {
    const char* name;
    std::string job;
    ZXing::BarcodeFormat format;
    std::string text;
};

ZXing::Result Decode(const QImage& label, ZXing::BarcodeFormat format) {
    // The symbol with a quiet zone around it: zxing's matrix detectors look from the middle of
    // the picture and miss a small symbol in the corner of a large blank label.
    const QRect area = InkBounds(label).adjusted(-40, -40, 40, 40) & label.rect();
    const QImage gray = label.copy(area).convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(gray.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    return ZXing::ReadBarcode(view, hints);
}

class BarcodeDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(BarcodeDecode, ReadsBackItsData) {
    const DecodeCase& c = GetParam();
    const QImage label = RenderOne(c.job);
    ASSERT_FALSE(label.isNull());
    const ZXing::Result result = Decode(label, c.format);
    ASSERT_TRUE(result.isValid()) << c.name << ": nothing decoded";
    EXPECT_EQ(result.text(), c.text) << c.name;
}

using F = ZXing::BarcodeFormat;
INSTANTIATE_TEST_SUITE_P(
    AllKinds, BarcodeDecode,
    ::testing::Values(
        DecodeCase{"zpl_code128", "^XA^FO50,50^BY3^BCN,120,Y,N,N^FDVELKARO-128^FS^XZ", F::Code128,
                   "VELKARO-128"},
        DecodeCase{"zpl_code128_subset_c_turned", "^XA^FO100,100^BY2^BCR,120,N^FD>;12345678^FS^XZ",
                   F::Code128, "12345678"},
        DecodeCase{"zpl_code39_ratio3", "^XA^FO50,50^BY2,3.0^B3N,N,120,Y^FDCODE39 TEST^FS^XZ",
                   F::Code39, "CODE39 TEST"},
        DecodeCase{"zpl_code39_turned", "^XA^FO50,50^BY2,2.0^B3B,N,120,N^FDABC123^FS^XZ", F::Code39,
                   "ABC123"},
        DecodeCase{"zpl_interleaved", "^XA^FO50,50^BY3,2.5^B2N,120,Y^FD12345678^FS^XZ", F::ITF,
                   "12345678"},
        DecodeCase{"zpl_code93", "^XA^FO50,50^BY3^BAN,120^FDCODE93^FS^XZ", F::Code93, "CODE93"},
        DecodeCase{"zpl_ean13", "^XA^FO80,50^BY3^BEN,120^FD400638133393^FS^XZ", F::EAN13,
                   "4006381333931"},
        DecodeCase{"zpl_upca", "^XA^FO80,50^BY3^BUN,120^FD01234567890^FS^XZ", F::UPCA,
                   "012345678905"},
        DecodeCase{"zpl_qr", "^XA^FO50,50^BQN,2,5^FDHA,https://velkaro.example/l?1^FS^XZ",
                   F::QRCode, "https://velkaro.example/l?1"},
        DecodeCase{"zpl_datamatrix", "^XA^FO50,50^BXN,6,200^FDDataMatrix 123^FS^XZ", F::DataMatrix,
                   "DataMatrix 123"},
        DecodeCase{"zpl_pdf417", "^XA^FO50,50^BY2^B7N,8,5,4^FDPDF417 label data^FS^XZ", F::PDF417,
                   "PDF417 label data"},
        DecodeCase{"zpl_aztec", "^XA^FO50,50^B0N,6^FDAztec text 42^FS^XZ", F::Aztec,
                   "Aztec text 42"},
        DecodeCase{"zpl_field_hex", "^XA^FO50,50^BY3^BCN,100,N^FH^FDA_2DB^FS^XZ", F::Code128,
                   "A-B"},
        DecodeCase{"epl_code128", "N\nB50,50,0,1,3,6,120,B,\"EPL 128\"\nP1\n", F::Code128,
                   "EPL 128"},
        DecodeCase{"epl_code39", "N\nB50,50,0,3,3,7,120,N,\"998152-001\"\nP1\n", F::Code39,
                   "998152-001"},
        DecodeCase{"epl_ean13", "N\nB80,50,0,E30,3,0,120,B,\"400638133393\"\nP1\n", F::EAN13,
                   "4006381333931"},
        DecodeCase{"epl_qr", "N\nb50,50,Q,s5,eH,\"EPL QR\"\nP1\n", F::QRCode, "EPL QR"},
        DecodeCase{"cpcl_code39",
                   "! 0 200 200 400 1\r\nBARCODE 39 2 1 100 50 50 CPCL39\r\nPRINT\r\n", F::Code39,
                   "CPCL39"},
        DecodeCase{"cpcl_interleaved_turned",
                   "! 0 200 200 600 1\r\nVBARCODE I2OF5 3 2 100 50 500 123456\r\nPRINT\r\n", F::ITF,
                   "123456"},
        DecodeCase{"cpcl_qr",
                   "! 0 200 200 400 1\r\nBARCODE QR 50 50 M 2 U 6\r\nMA,CPCL QR\r\nENDQR\r\n"
                   "PRINT\r\n",
                   F::QRCode, "CPCL QR"}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

// The ratio of ^BY makes the wide elements exactly that many times the narrow ones.
TEST(BarcodeGeometry, TwoWidthCodesUseTheRatioGiven) {
    struct Case {
        std::string job;
        std::set<int> widths;
    };
    const Case cases[] = {
        {"^XA^FO50,50^BY2,3.0^B3N,N,100,N^FDAB12^FS^XZ", {2, 6}},
        {"^XA^FO50,50^BY4,2.5^B3N,N,100,N^FDAB12^FS^XZ", {4, 10}},
        {"^XA^FO50,50^BY3,2.0^B2N,100,N^FD1234^FS^XZ", {3, 6}},
        {"N\nB50,50,0,3,3,7,100,N,\"AB12\"\nP1\n", {3, 7}},
    };
    for (const Case& c : cases) {
        const QImage label = RenderOne(c.job);
        const std::multiset<int> bars = BarWidths(label, 100);
        EXPECT_EQ(std::set<int>(bars.begin(), bars.end()), c.widths) << c.job;
    }
}

TEST(BarcodeGeometry, Code128ModulesAreTheByWidth) {
    for (int module : {1, 2, 3, 5}) {
        const QImage label =
            RenderOne("^XA^FO50,50^BY" + std::to_string(module) + "^BCN,100,N^FDVELKARO^FS^XZ");
        const std::multiset<int> bars = BarWidths(label, 100);
        ASSERT_FALSE(bars.empty());
        for (int width : bars) EXPECT_EQ(width % module, 0) << "module " << module;
        EXPECT_EQ(*bars.begin(), module);
        // Start B, 7 characters and the check character of 11 modules, a 13-module stop.
        EXPECT_EQ(InkBounds(label).width(), (9 * 11 + 13) * module) << module;
    }
}

TEST(BarcodeGeometry, InterpretationLineBelowOrAboveTheBars) {
    const QImage below = RenderOne("^XA^FO50,100^BY2^BCN,80,Y,N^FD1234^FS^XZ");
    const QImage above = RenderOne("^XA^FO50,100^BY2^BCN,80,Y,Y^FD1234^FS^XZ");
    const QImage none = RenderOne("^XA^FO50,100^BY2^BCN,80,N^FD1234^FS^XZ");
    EXPECT_EQ(InkBounds(none), QRect(50, 100, InkBounds(none).width(), 80));
    EXPECT_EQ(InkBounds(below).top(), 100);
    EXPECT_GT(InkBounds(below).bottom(), 190);
    // Above: the line takes the top of the field and the bars end it.
    EXPECT_GT(InkBounds(above).height(), 80 + 10);
    EXPECT_FALSE(Black(above, 50, 101));
    EXPECT_TRUE(Black(above, 50, InkBounds(above).bottom()));
}

TEST(BarcodeGeometry, QrMagnificationIsTheModuleSize) {
    const QImage small = RenderOne("^XA^FO50,50^BQN,2,2^FDMA,VELKARO^FS^XZ");
    const QImage large = RenderOne("^XA^FO50,50^BQN,2,6^FDMA,VELKARO^FS^XZ");
    // Version 1: 21 modules.
    EXPECT_EQ(InkBounds(small), QRect(50, 50, 42, 42));
    EXPECT_EQ(InkBounds(large), QRect(50, 50, 126, 126));
}

}  // namespace
}  // namespace velkaro::label::test
