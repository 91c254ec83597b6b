// The ZPL, EPL and CPCL buttons: their menus, where they pop up, and the samples they put in
// the send box and that go out to the printer byte for byte.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <string>

#include "gui_test_util.h"
#include "support/pty_pair.h"

namespace velkaro::test {
namespace {

struct Sample {
    int button;
    int item;
    std::string bytes;
    std::size_t length;
};

// Every sample, exactly as the printer must receive it.
const Sample kSamples[] = {
    {IDC_ZPL, 0, "~HS\r\n", 5},
    {IDC_ZPL, 1,
     "^XA\r\n"
     "^FO100,100^BY3\r\n"
     "^BCN,100,Y,N,N\r\n"
     "^FD123456\r\n"
     "^XZ\r\n",
     53},
    {IDC_ZPL, 2,
     "^XA\r\n"
     "^FO50,50^ADN,36,20^FDZEBRA^FS\r\n"
     "^FO50,100^ADN,36,20^FDPROGRAMMING^FS\r\n"
     "^FO50,150^ADN,36,20^FDLANGUAGE II^FS\r\n"
     "^XZ\r\n",
     117},
    {IDC_EPL, 0, "U\r\n", 3},
    {IDC_EPL, 1,
     "N\r\n"
     "B10,10,0,3,3,7,200,B,\"998152-001\"\r\n"
     "P1\r\n",
     42},
    {IDC_EPL, 2,
     "N\r\n"
     "A50,0,0,1,1,1,N,\"Example 1\"\r\n"
     "A50,50,0,2,1,1,N,\"Example 2\"\r\n"
     "A50,100,0,3,1,1,N,\"Example 3\"\r\n"
     "A50,150,0,4,1,1,N,\"Example 4\"\r\n"
     "A50,200,0,5,1,1,N,\"EXAMPLE 5\"\r\n"
     "A50,300,0,3,2,2,R,\"Example 6\"\r\n"
     "P1\r\n",
     190},
    {IDC_CPCL, 0, std::string("\x1B\x20\x68", 3), 3},
    {IDC_CPCL, 1,
     "! 0 200 200 210 1\r\n"
     "BARCODE 128 1 1 50 150 10 HORIZ.\r\n"
     "TEXT 7 0 210 60 HORIZ.\r\n"
     "VBARCODE 128 1 1 50 10 200 VERT.\r\n"
     "VTEXT 7 0 60 140 VERT.\r\n"
     "FORM\r\n"
     "PRINT\r\n",
     148},
    {IDC_CPCL, 2, "~HS", 3},
};

const int kLanguageButtons[] = {IDC_ZPL, IDC_EPL, IDC_CPCL};

// What the send box shows for a sample: each CR LF is one line break.
QString ShownInBox(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()))
        .replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// The main window on screen and active, with a serial printer behind COM1.
class SamplesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pty.LinkAs(w.devices.Path(), "ttyS0");
        w.dialog->move(120, 80);
        w.dialog->show();
        w.dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.dialog.get()));
    }
    void Choose(int button, int item) {
        w.ui.chooseItem = item;
        w.Click(button);
    }

    WindowFixture w;
    PtyPair pty;
};

TEST_F(SamplesTest, EachSampleFillsTheSendBoxAndGoesOutByteForByte) {
    w.Click(IDC_OPEN_PORT);
    ASSERT_TRUE(w.dialog->PortOpen());
    for (const Sample& s : kSamples) {
        SCOPED_TRACE(testing::Message() << "button " << s.button << " item " << s.item);
        ASSERT_EQ(s.bytes.size(), s.length);
        w.SendBox()->setPlainText("earlier text\nsecond line");
        Control<QPushButton>(w.dialog.get(), IDC_OPEN_PORT)->setFocus();

        Choose(s.button, s.item);
        EXPECT_EQ(w.SendBox()->toPlainText(), ShownInBox(s.bytes)) << "replaced, not appended";
        EXPECT_TRUE(w.SendBox()->hasFocus());
        EXPECT_TRUE(w.SendBox()->textCursor().atEnd());
        EXPECT_FALSE(w.SendBox()->textCursor().hasSelection());

        w.Click(IDC_SEND_DATA);
        EXPECT_EQ(pty.Receive(s.length), s.bytes);
    }
    EXPECT_EQ(pty.Receive(1, 100), "") << "nothing beyond the last sample";
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(SamplesTest, EachMenuListsThreeItemsBesideItsButton) {
    for (int id : kLanguageButtons) {
        SCOPED_TRACE(id);
        w.ui.menuTitles.clear();
        Choose(id, -1);
        EXPECT_EQ(w.ui.menuTitles, (QStringList{"状态查询", "条码打印", "字符打印"}));
        const auto* button = Control<QPushButton>(w.dialog.get(), id);
        const QRect onScreen(button->mapToGlobal(QPoint(0, 0)), button->size());
        EXPECT_EQ(w.ui.popupAt, QPoint(onScreen.x() + onScreen.width(), onScreen.y()));
    }
}

TEST_F(SamplesTest, DismissingAMenuLeavesTheSendBoxAsItWas) {
    w.SendBox()->setPlainText("^XA\n^XZ");
    QTextCursor cursor = w.SendBox()->textCursor();
    cursor.setPosition(2);
    w.SendBox()->setTextCursor(cursor);
    for (int id : kLanguageButtons) {
        Choose(id, -1);
        EXPECT_EQ(w.SendBox()->toPlainText(), "^XA\n^XZ") << id;
        EXPECT_EQ(w.SendBox()->textCursor().position(), 2) << id;
    }
}

TEST_F(SamplesTest, ALaterSampleReplacesAnEarlierOne) {
    Choose(IDC_ZPL, 1);
    Choose(IDC_CPCL, 2);
    EXPECT_EQ(w.SendBox()->toPlainText(), "~HS");
    Choose(IDC_EPL, 0);
    EXPECT_EQ(w.SendBox()->toPlainText(), "U\n");
    EXPECT_TRUE(w.SendBox()->textCursor().atEnd());
}

}  // namespace
}  // namespace velkaro::test
