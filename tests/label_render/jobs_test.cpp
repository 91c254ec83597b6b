// Whole jobs: the canned samples, several labels, unknown commands and garbage.
#include <gtest/gtest.h>

#include <random>
#include <thread>

#include "label_render/label_test_util.h"
#include "samples/sample_commands.h"

namespace velkaro::label::test {
namespace {

Language LanguageOf(PrinterLanguage language) {
    switch (language) {
        case PrinterLanguage::ZPL:
            return Language::ZPL;
        case PrinterLanguage::EPL:
            return Language::EPL;
        case PrinterLanguage::CPCL:
            return Language::CPCL;
    }
    return Language::Auto;
}

TEST(Jobs, EverySampleCommandIsUnderstood) {
    for (const SampleCommand& sample : SampleCommands()) {
        for (Language language : {Language::Auto, LanguageOf(sample.language)}) {
            RenderOptions options;
            options.language = language;
            const RenderResult result = Render(sample.bytes, options);
            EXPECT_TRUE(result.notUnderstood.empty())
                << sample.commandId << ": " << result.notUnderstood.front().command.toStdString();
            const bool prints = sample.bytes.find("XZ") != std::string::npos ||
                                sample.bytes.find("P1") != std::string::npos ||
                                sample.bytes.find("PRINT") != std::string::npos;
            EXPECT_EQ(result.labels.size(), prints ? 1u : 0u) << sample.commandId;
            for (const QImage& label : result.labels) {
                EXPECT_FALSE(InkBounds(label).isNull()) << sample.commandId;
            }
        }
    }
}

TEST(Jobs, LanguageIsDetectedFromTheFirstCommand) {
    EXPECT_EQ(DetectLanguage("\r\n^XA^XZ"), Language::ZPL);
    EXPECT_EQ(DetectLanguage("~HS"), Language::ZPL);
    EXPECT_EQ(DetectLanguage("N\nP1\n"), Language::EPL);
    EXPECT_EQ(DetectLanguage("! 0 200 200 210 1\r\nPRINT\r\n"), Language::CPCL);
    EXPECT_EQ(DetectLanguage("\x1b h"), Language::CPCL);
}

TEST(Jobs, SeveralLabelsInOneJob) {
    EXPECT_EQ(Render("^XA^FO0,0^GB5,5,5^FS^XZ^XA^FO9,9^GB5,5,5^FS^XZ^XA^XZ").labels.size(), 3u);
    EXPECT_EQ(Render("N\nLO0,0,5,5\nP1\nN\nLO9,9,5,5\nP1\n").labels.size(), 2u);
    EXPECT_EQ(Render("! 0 200 200 100 1\r\nLINE 0 0 9 0 1\r\nPRINT\r\n"
                     "! 0 200 200 100 1\r\nLINE 0 5 9 5 1\r\nPRINT\r\n")
                  .labels.size(),
              2u);
}

TEST(Jobs, UnknownCommandsAreListedWithTheirPlace) {
    struct Case {
        std::string job;
        QString command;
        std::size_t offset;
    };
    const Case cases[] = {
        {"^XA^FO10,10^GB50,50,50^FS^QQ1,2^XZ", "^QQ", 25},
        {"hello^XA^FO10,10^GB50,50,50^FS^XZ", "hello", 0},
        {"N\nLO10,10,50,50\nFOOBAR 1\nP1\n", "FOOBAR 1", 16},
        {"! 0 200 200 400 1\r\nBOX 10 10 60 60 50\r\nSPARKLE 3\r\nPRINT\r\n", "SPARKLE 3", 39},
        {"^XA^FO10,10^GB50,50,50^FS^FO100,100^BEN,50^FDnot digits^FS^XZ", "^BE", 35},
    };
    for (const Case& c : cases) {
        const RenderResult result = Render(c.job);
        ASSERT_EQ(result.notUnderstood.size(), 1u) << c.job;
        EXPECT_TRUE(result.notUnderstood[0].command.startsWith(c.command))
            << result.notUnderstood[0].command.toStdString();
        EXPECT_EQ(result.notUnderstood[0].offset, c.offset) << c.job;
        // What was understood is still drawn.
        ASSERT_EQ(result.labels.size(), 1u) << c.job;
        EXPECT_TRUE(Black(result.labels[0], 30, 30)) << c.job;
    }
}

TEST(Jobs, GarbageRendersWhatItCanAndNeverCrashes) {
    std::mt19937 random(14);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::string alphabet = "^~XAFOGBDSCI0123456789,NRBQ\r\n!\" ";
    for (int round = 0; round < 30; ++round) {
        std::string job;
        for (int i = 0; i < 4000; ++i) {
            job += round % 2 ? static_cast<char>(byte(random))
                             : alphabet[byte(random) % alphabet.size()];
        }
        for (Language language : {Language::ZPL, Language::EPL, Language::CPCL}) {
            RenderOptions options;
            options.language = language;
            const RenderResult result = Render(job, options);
            for (const NotUnderstood& item : result.notUnderstood) {
                EXPECT_LE(item.offset + item.length, job.size());
            }
        }
    }
}

TEST(Jobs, ChineseTextUnderUtf8CodePage) {
    const QImage label = RenderOne("^XA^CI28^FO50,50^A0N,60,60^FD标签预览^FS^XZ");
    const QRect ink = InkBounds(label);
    EXPECT_GT(ink.width(), 4 * 40);  // four full-width glyphs, not tofu-sized Latin-1 bytes
    EXPECT_LT(ink.width(), 4 * 80);
}

TEST(Jobs, SameResultFromSeveralThreads) {
    const std::string job =
        "^XA^FO50,50^A0N,40,40^FDThreads^FS^FO50,150^BY2^BCN,80,Y^FD12345^FS"
        "^FO50,300^BQN,2,4^FDMA,VELKARO^FS^XZ";
    const QImage expected = RenderOne(job);
    std::vector<QImage> images(4);
    std::vector<std::thread> threads;
    for (QImage& image : images) {
        threads.emplace_back([&image, &job] {
            for (int i = 0; i < 5; ++i) image = Render(job).labels.at(0);
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (const QImage& image : images) EXPECT_EQ(image, expected);
}

}  // namespace
}  // namespace velkaro::label::test
