// `render` as a real process: PNG files whose barcodes zxing-cpp reads back, the size asked
// for, several labels, standard output, and the list of what was not understood.
#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "cli_test_util.h"
#include "support/temp_dir.h"

namespace velkaro::test {
namespace {

std::string Decode(const QImage& label, ZXing::BarcodeFormat format) {
    const QImage gray = label.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(gray.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setTryHarder(true);
    return ZXing::ReadBarcode(view, hints).text();
}

std::string WriteJob(const TempDir& folder, const std::string& name, const std::string& job) {
    const std::string path = (folder.Path() / name).string();
    std::ofstream(path, std::ios::binary) << job;
    return path;
}

TEST(CliRender, BarcodesInThePngReadBack) {
    TempDir folder;
    struct Case {
        std::string job;
        std::vector<std::string> options;
        ZXing::BarcodeFormat format;
        std::string data;
        QSize size;
    };
    const Case cases[] = {
        {"^XA^FO60,60^BY3^BCN,120,Y,N,N^FDVELKARO-4711^FS^XZ",
         {"--dpmm", "8", "--size", "4x6in"},
         ZXing::BarcodeFormat::Code128,
         "VELKARO-4711",
         {813, 1219}},
        {"^XA^FO100,100^BQN,2,8^FDQA,https://velkaro.example/label^FS^XZ",
         {"--dpmm", "12", "--size", "100x150mm"},
         ZXing::BarcodeFormat::QRCode,
         "https://velkaro.example/label",
         {1200, 1800}},
        {"N\r\nq400\r\nQ240,24\r\nB20,20,0,1,3,6,100,B,\"EPL-123\"\r\nP1\r\n",
         {"--lang", "epl", "--size", "50x30mm"},
         ZXing::BarcodeFormat::Code128,
         "EPL-123",
         {400, 240}},
    };
    for (const Case& c : cases) {
        const std::string job = WriteJob(folder, "job.txt", c.job);
        const std::string png = (folder.Path() / "label.png").string();
        std::vector<std::string> args{"render", job, "-o", png};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProcessResult result = RunCli(args);
        EXPECT_EQ(result.exitCode, 0) << c.data << ": " << result.err;
        const QImage label(QString::fromStdString(png));
        ASSERT_FALSE(label.isNull()) << c.data;
        EXPECT_EQ(label.size(), c.size) << c.data;
        EXPECT_EQ(Decode(label, c.format), c.data);
    }
}

TEST(CliRender, OneFilePerLabelOrAllOnStandardOutput) {
    TempDir folder;
    const std::string job =
        WriteJob(folder, "two.zpl",
                 "^XA^FO50,50^BCN,100,N^FDFIRST^FS^XZ\n^XA^FO50,50^BCN,100,N^FDSECOND^FS^XZ\n");
    const std::string out = (folder.Path() / "shipment.png").string();
    ASSERT_EQ(RunCli({"render", job, "-o", out}).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(out));
    const QImage first(QString::fromStdString((folder.Path() / "shipment-1.png").string()));
    const QImage second(QString::fromStdString((folder.Path() / "shipment-2.png").string()));
    EXPECT_EQ(Decode(first, ZXing::BarcodeFormat::Code128), "FIRST");
    EXPECT_EQ(Decode(second, ZXing::BarcodeFormat::Code128), "SECOND");

    // From a pipe to a pipe: the first PNG on standard output is the first label.
    std::ifstream in(job, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const ProcessResult piped = RunCli({"render", "-", "-o", "-"}, bytes);
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
    const QImage fromStdout = QImage::fromData(reinterpret_cast<const uchar*>(piped.out.data()),
                                               static_cast<int>(piped.out.size()));
    EXPECT_EQ(Decode(fromStdout, ZXing::BarcodeFormat::Code128), "FIRST");
}

TEST(CliRender, NotUnderstoodIsListedAndExitOne) {
    TempDir folder;
    const std::string job =
        WriteJob(folder, "odd.zpl", "^XA^FO50,50^A0N,40,40^FDKept^FS^QQ1^FO9,9^BZ^FD1^FS^XZ");
    const std::string out = (folder.Path() / "odd.png").string();
    const ProcessResult result = RunCli({"render", job, "-o", out});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("not understood: ^QQ"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("not understood: ^BZ"), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 2) << result.err;
    EXPECT_TRUE(std::filesystem::exists(out));  // what was understood is still drawn

    const ProcessResult usage = RunCli({"render", job, "-o", out, "--dpmm", "7"});
    EXPECT_EQ(usage.exitCode, 64);
}

}  // namespace
}  // namespace velkaro::test
