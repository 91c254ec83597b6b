// Where fields land, checked dot by dot.
#include <gtest/gtest.h>

#include "label_render/label_test_util.h"

namespace velkaro::label::test {
namespace {

TEST(Geometry, LabelSizeFollowsDotsPerMmAndTheJob) {
    struct Case {
        std::string job;
        int dotsPerMm;
        QSize size;
    };
    const Case cases[] = {
        {"^XA^FO0,0^GB1,1,1^FS^XZ", 8, {813, 1219}},
        {"^XA^FO0,0^GB1,1,1^FS^XZ", 6, {610, 914}},
        {"^XA^FO0,0^GB1,1,1^FS^XZ", 12, {1219, 1829}},
        {"^XA^FO0,0^GB1,1,1^FS^XZ", 24, {2438, 3658}},
        {"^XA^PW400^LL300^FO0,0^GB1,1,1^FS^XZ", 8, {400, 300}},
        {"N\nq320\nQ240,24\nLO0,0,1,1\nP1\n", 8, {320, 240}},
        {"! 0 200 200 210 1\r\nPAGE-WIDTH 384\r\nLINE 0 0 10 0 1\r\nPRINT\r\n", 8, {384, 210}},
    };
    for (const Case& c : cases) {
        RenderOptions options;
        options.dotsPerMm = c.dotsPerMm;
        EXPECT_EQ(RenderOne(c.job, options).size(), c.size) << c.job;
    }
}

TEST(Geometry, BoxesSitAtTheFieldOriginAndLabelHome) {
    const QImage label = RenderOne(
        "^XA^FO100,50^GB200,80,4^FS"
        "^LH30,20^FO10,300^GB50,40,40^FS^XZ");
    EXPECT_EQ(InkBounds(label, QRect(0, 0, 400, 200)), QRect(100, 50, 200, 80));
    EXPECT_TRUE(Black(label, 103, 53));
    EXPECT_FALSE(Black(label, 104, 54));  // the frame is 4 dots thick
    EXPECT_EQ(InkBounds(label, QRect(0, 200, 400, 400)), QRect(40, 320, 50, 40));
}

TEST(Geometry, FieldReverseInvertsWhatIsBelow) {
    const QImage label = RenderOne("^XA^FO0,0^GB100,100,100^FS^FO50,50^FR^GB100,100,100^FS^XZ");
    EXPECT_TRUE(Black(label, 10, 10));
    EXPECT_FALSE(Black(label, 60, 60));   // black under the reversed box turns white
    EXPECT_TRUE(Black(label, 120, 120));  // white under it turns black
}

TEST(Geometry, RotatedTextKeepsTheOriginAsTopLeftCorner) {
    struct Case {
        char orientation;
        bool wide;  // reads left to right (N, I) or top to bottom (R, B)
    };
    const Case cases[] = {{'N', true}, {'R', false}, {'I', true}, {'B', false}};
    for (const Case& c : cases) {
        const QImage label =
            RenderOne(std::string("^XA^FO200,200^A0") + c.orientation + ",60,60^FDHHHHHH^FS^XZ");
        const QRect ink = InkBounds(label);
        EXPECT_GE(ink.left(), 200) << c.orientation;
        EXPECT_GE(ink.top(), 200) << c.orientation;
        EXPECT_LT(ink.left(), 200 + 30) << c.orientation;
        EXPECT_LT(ink.top(), 200 + 30) << c.orientation;
        EXPECT_EQ(ink.width() > ink.height(), c.wide) << c.orientation;
    }
}

TEST(Geometry, FieldTypesetPutsTheBaselineOnTheOrigin) {
    const QImage label = RenderOne("^XA^FT100,300^A0N,60,60^FDHEH^FS^XZ");
    const QRect ink = InkBounds(label);
    EXPECT_EQ(ink.bottom(), 299);
    EXPECT_GE(ink.left(), 100);
    EXPECT_LT(ink.left(), 110);
}

TEST(Geometry, BitmapFontsScaleByWholeMultiples) {
    // Font D is 18 dots high with cells 10 wide and 2 apart: ^AD,36,20 doubles both.
    const QImage single = RenderOne("^XA^FO50,50^ADN,18,10^FDMMMM^FS^XZ");
    const QImage doubled = RenderOne("^XA^FO50,50^ADN,36,20^FDMMMM^FS^XZ");
    const QRect a = InkBounds(single);
    const QRect b = InkBounds(doubled);
    EXPECT_NEAR(b.width(), 2 * a.width(), 4);
    EXPECT_NEAR(b.height(), 2 * a.height(), 4);
    EXPECT_LE(a.right(), 50 + 4 * 12);
}

TEST(Geometry, FieldBlockWrapsAndJustifies) {
    const QImage wrapped = RenderOne(
        "^XA^FO50,50^FB300,3,10,L^A0N,30,30^FDone two three four five six seven eight nine ten "
        "eleven twelve thirteen fourteen^FS^XZ");
    const QRect ink = InkBounds(wrapped);
    EXPECT_GE(ink.left(), 50);
    EXPECT_LE(ink.right(), 350);
    EXPECT_LE(ink.bottom(), 50 + 3 * 40);  // three lines of 30 dots, 10 apart
    // Ink in each of the three line bands.
    for (int line = 0; line < 3; ++line) {
        EXPECT_FALSE(InkBounds(wrapped, QRect(50, 50 + line * 40, 300, 30)).isNull()) << line;
    }
    const QImage centred = RenderOne("^XA^FO0,50^FB400,1,0,C^A0N,40,40^FDHI^FS^XZ");
    const QRect word = InkBounds(centred);
    EXPECT_NEAR((word.left() + word.right()) / 2.0, 200, 4);
    const QImage right = RenderOne("^XA^FO0,50^FB400,1,0,R^A0N,40,40^FDHI^FS^XZ");
    EXPECT_NEAR(InkBounds(right).right(), 399, 6);
    const QImage breaks = RenderOne("^XA^FO0,0^FB400,2,0^A0N,40,40^FDA\\&B^FS^XZ");
    EXPECT_GT(InkBounds(breaks).height(), 60);  // "\&" starts the second line
}

TEST(Geometry, GraphicFieldsPlainAndCompressed) {
    const QImage plain = RenderOne("^XA^FO10,20^GFA,4,4,1,FF00F00F^FS^XZ");
    EXPECT_EQ(InkBounds(plain, QRect(0, 20, 100, 1)), QRect(10, 20, 8, 1));
    EXPECT_TRUE(InkBounds(plain, QRect(0, 21, 100, 1)).isNull());
    EXPECT_EQ(InkBounds(plain, QRect(0, 22, 100, 1)), QRect(10, 22, 4, 1));
    EXPECT_EQ(InkBounds(plain, QRect(0, 23, 100, 1)), QRect(14, 23, 4, 1));
    // Two bytes a row: "!" fills a row with ones, ":" repeats it, "," ends a row with zeros,
    // "I" is a count of three.
    const QImage packed = RenderOne("^XA^FO0,0^GFA,8,8,2,!:F,IFE^FS^XZ");
    EXPECT_EQ(InkBounds(packed, QRect(0, 0, 100, 1)), QRect(0, 0, 16, 1));
    EXPECT_EQ(InkBounds(packed, QRect(0, 1, 100, 1)), QRect(0, 1, 16, 1));
    EXPECT_EQ(InkBounds(packed, QRect(0, 2, 100, 1)), QRect(0, 2, 4, 1));
    EXPECT_EQ(InkBounds(packed, QRect(0, 3, 100, 1)), QRect(0, 3, 15, 1));
}

TEST(Geometry, PrintUpsideDownTurnsTheLabel) {
    RenderOptions options;
    const QImage label = RenderOne("^XA^POI^PW400^LL300^FO0,0^GB10,10,10^FS^XZ", options);
    EXPECT_EQ(InkBounds(label), QRect(390, 290, 10, 10));
}

TEST(Geometry, EplLinesBoxesAndReverseText) {
    const QImage label = RenderOne(
        "N\nLO10,20,100,5\nX200,200,3,300,260\nA50,400,0,3,1,1,R,\"REV\"\nLO10,600,50,50\n"
        "LE30,620,50,50\nP1\n");
    EXPECT_EQ(InkBounds(label, QRect(0, 0, 150, 100)), QRect(10, 20, 100, 5));
    EXPECT_EQ(InkBounds(label, QRect(150, 150, 300, 150)), QRect(200, 200, 100, 60));
    EXPECT_FALSE(Black(label, 205, 230));
    EXPECT_TRUE(Black(label, 50, 400));  // reverse text sits on a black band
    EXPECT_FALSE(Black(label, 40, 630));
    EXPECT_FALSE(Black(label, 45, 635));  // LE turns the overlap white
    EXPECT_TRUE(Black(label, 70, 660));   // and white to black
}

TEST(Geometry, EplTextTurnsAboutItsStart) {
    const QImage upright = RenderOne("N\nA300,300,0,4,1,1,N,\"TURN\"\nP1\n");
    const QImage quarter = RenderOne("N\nA300,300,1,4,1,1,N,\"TURN\"\nP1\n");
    EXPECT_GE(InkBounds(upright).left(), 300);
    EXPECT_GE(InkBounds(upright).top(), 300);
    EXPECT_LE(InkBounds(quarter).right(), 300);  // the top of the letters faces right
    EXPECT_GE(InkBounds(quarter).top(), 300);
    EXPECT_GT(InkBounds(quarter).height(), InkBounds(quarter).width());
}

TEST(Geometry, CpclBoxesLinesAndInverseLines) {
    const QImage label = RenderOne(
        "! 0 200 200 400 1\r\nBOX 20 20 120 80 2\r\nLINE 200 50 300 50 4\r\n"
        "LINE 200 100 300 100 20\r\nINVERSE-LINE 250 90 350 90 40\r\nPRINT\r\n");
    EXPECT_EQ(InkBounds(label, QRect(0, 0, 150, 150)), QRect(20, 20, 100, 60));
    EXPECT_FALSE(Black(label, 30, 30));
    EXPECT_EQ(InkBounds(label, QRect(150, 40, 300, 20)), QRect(200, 50, 100, 4));
    EXPECT_TRUE(Black(label, 220, 110));
    EXPECT_FALSE(Black(label, 260, 110));  // inverted
    EXPECT_TRUE(Black(label, 320, 110));
}

}  // namespace
}  // namespace velkaro::label::test
