// The receive box's views, find bar, saving, logging and cap, driven through its context menu
// as a user would.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/receive_find_bar.h"
#include "gui_test_util.h"
#include "platform/hex_dump.h"
#include "support/pty_pair.h"

namespace velkaro::test {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

class ReceiveBoxTest : public ::testing::Test {
  protected:
    ReceiveBoxTest() { w.dialog->show(); }
    ReceiveView& Box() { return *w.ReceiveBox(); }
    void Deliver(const std::string& bytes) {
        QCoreApplication::postEvent(w.dialog.get(),
                                    new PortEvent(PortMessage{WM_SERIAL_DATA, bytes, 1}));
        QCoreApplication::processEvents();
    }
    // Right-clicks the box and picks the item with this text.
    void Choose(const QString& item) {
        w.ui.chooseTitle = item;
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                                Box().mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(Box().viewport(), &click);
        w.ui.chooseTitle.clear();
    }
    QStringList Lines() {
        Box().Flush();
        return Box().toPlainText().split(QLatin1Char('\n'));
    }
    WindowFixture w;
};

TEST_F(ReceiveBoxTest, TheMenuOffersEachItemWithItsAccelerator) {
    Choose(QString());
    for (const char* item :
         {"十六进制显示(&H)", "显示时间戳(&T)", "显示发送数据(&S)", "保存接收数据(&A)…",
          "记录到文件(&L)…", "视图保留 1 MB", "视图保留 8 MB", "视图保留 64 MB", "视图保留 512 MB"})
        EXPECT_TRUE(w.ui.menuTitles.contains(QString::fromUtf8(item))) << item;
}

TEST_F(ReceiveBoxTest, HexViewShowsOffsetsBytesAndCharactersAndSwitchingBackKeepsEveryByte) {
    const std::string block = std::string(
                                  "\x02"
                                  "030,1,1,1225,00\x03\r\n") +
                              std::string(
                                  "\0\x1b\x7f\xff"
                                  "OK",
                                  6) +
                              "\r\nREADY!";
    Deliver(block.substr(0, 7));
    Deliver(block.substr(7));
    const QString text = w.ReceivedText();
    Choose("十六进制显示(&H)");
    ASSERT_TRUE(Box().Hex());
    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0],
              "00000000  02 30 33 30 2C 31 2C 31  2C 31 32 32 35 2C 30 30  .030,1,1,1225,00");
    EXPECT_EQ(lines[1],
              "00000010  03 0D 0A 00 1B 7F FF 4F  4B 0D 0A 52 45 41 44 59  .......OK..READY");
    EXPECT_EQ(lines[2], "00000020  21" + QString(48, ' ') + "!") << "short, aligned";
    Choose("十六进制显示(&H)");
    EXPECT_EQ(w.ReceivedText(), text);
}

TEST_F(ReceiveBoxTest, SwitchingTenMegabytesToHexAndBackKeepsEveryByte) {
    std::string chunk;
    for (int i = 0; i < 65536; ++i) chunk += static_cast<char>(i * 31 % 251);
    for (int i = 0; i < 160; ++i) Deliver(chunk);
    const std::size_t total = chunk.size() * 160;
    Choose("十六进制显示(&H)");
    const ReceiveLog& log = Box().Log();
    ASSERT_EQ(log.RowCount(), total / 16);
    const std::string tail = chunk.substr(chunk.size() - 16);
    EXPECT_EQ(Box().RowText(log.RowCount() - 1).toStdString(),
              HexDumpLine(total - 16, reinterpret_cast<const unsigned char*>(tail.data()), 16));
    Choose("十六进制显示(&H)");
    EXPECT_EQ(log.Stream(ReceiveKind::Received).Bytes(0, total), [&] {
        std::string all;
        for (int i = 0; i < 160; ++i) all += chunk;
        return all;
    }());
}

TEST_F(ReceiveBoxTest, TimeStampsStartEachLineAndNeverGoBack) {
    Choose("显示时间戳(&T)");
    for (int i = 0; i < 5; ++i) {
        Deliver("line " + std::to_string(i) + "\r\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 6);
    const QRegularExpression stamp(
        QStringLiteral("^\\[(\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d)\\] line \\d$"));
    QString previous;
    for (int i = 0; i < 5; ++i) {
        const auto match = stamp.match(lines[i]);
        ASSERT_TRUE(match.hasMatch()) << lines[i].toStdString();
        EXPECT_GE(match.captured(1), previous);  // the same day: text order is time order
        previous = match.captured(1);
    }
    EXPECT_GT(previous, stamp.match(lines[0]).captured(1));
    EXPECT_EQ(lines[5], "");
    Choose("显示时间戳(&T)");
    EXPECT_EQ(Lines()[0], "line 0");
}

class ReceiveBoxSerialTest : public ReceiveBoxTest {
  protected:
    void SetUp() override {
        pty.LinkAs(w.devices.Path(), "ttyS0");
        w.dialog->SerialPort().SetReadIntervalTimeout(20);
        w.Click(IDC_OPEN_PORT);
        ASSERT_TRUE(w.dialog->PortOpen());
    }
    std::uint64_t Received() { return Box().Log().Stream(ReceiveKind::Received).End(); }
    PtyPair pty;
};

TEST_F(ReceiveBoxSerialTest, SentDataShowsInOrderWithTheRepliesOnlyWhenAskedFor) {
    Choose("显示发送数据(&S)");
    for (const char* command : {"~HS", "~HI"}) {
        w.SendBox()->setPlainText(command);
        w.Click(IDC_SEND_DATA);
        EXPECT_EQ(pty.Receive(3), command);
        const std::uint64_t before = Received();
        pty.Send(std::string(command) == "~HS" ? "\x02"
                                                 "030,0\x03\r\n"
                                               : "\x02ZT410\x03\r\n");
        ASSERT_TRUE(WaitUntil([&] { return Received() > before + 8; }));
    }
    EXPECT_EQ(Lines(), (QStringList{"发→ ~HS", "␂030,0␃", "发→ ~HI", "␂ZT410␃", ""}));
    Choose("显示发送数据(&S)");
    EXPECT_EQ(Lines(), (QStringList{"␂030,0␃", "␂ZT410␃", ""}));
}

TEST_F(ReceiveBoxSerialTest, SavedAndLoggedFilesHoldExactlyTheBytesOnTheWire) {
    const auto logPath = w.devices.Path() / "wire.log";
    const auto savePath = w.devices.Path() / "saved.bin";
    w.ui.fileToSave = QString::fromStdString(logPath.string());
    Choose("记录到文件(&L)…");
    ASSERT_TRUE(Box().Logging());
    std::string wire("\0OK\r\n\xff\xfe\xc3(\x80 \xe4\xb8\r", 15);
    for (int i = 0; i < 2000; ++i) wire += std::string("\x02", 1) + std::to_string(i) + '\0';
    for (std::size_t at = 0; at < wire.size(); at += 1000) {
        pty.Send(wire.substr(at, 1000));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(WaitUntil([&] { return Received() == wire.size(); }));
    w.ui.fileToSave = QString::fromStdString(savePath.string());
    Choose("保存接收数据(&A)…");
    EXPECT_EQ(ReadFile(savePath), wire);
    EXPECT_EQ(ReadFile(logPath), wire);
    Choose("记录到文件(&L)…");
    EXPECT_FALSE(Box().Logging());
    EXPECT_EQ(w.ui.saveDialogs, 2) << "stopping asks nothing";
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(ReceiveBoxTest, TheCapDropsFromTheTopAndSaysHowMuchWhileTheLogKeepsAll) {
    const auto logPath = w.devices.Path() / "all.log";
    w.ui.fileToSave = QString::fromStdString(logPath.string());
    Choose("记录到文件(&L)…");
    Choose("视图保留 1 MB");
    EXPECT_EQ(Box().Cap(), 1u << 20);
    std::string all;
    std::string last;
    for (int i = 0; all.size() < (3u << 20); ++i) {
        last = "STATUS " + std::to_string(i);
        all += last + "\r\n";
    }
    for (std::size_t at = 0; at < all.size(); at += 60000) Deliver(all.substr(at, 60000));
    const ByteStream& stream = Box().Log().Stream(ReceiveKind::Received);
    ASSERT_EQ(stream.End(), all.size());
    EXPECT_LE(stream.Size(), 1u << 20);
    EXPECT_EQ(Box().Log().Dropped(), stream.Begin());
    const QStringList lines = Lines();
    EXPECT_EQ(lines[0],
              QStringLiteral("[为限制内存，已从视图顶部移除较早的 %1 字节]").arg(stream.Begin()));
    EXPECT_EQ(lines[lines.size() - 2], QString::fromStdString(last));
    EXPECT_EQ(ReadFile(logPath), all);
}

TEST_F(ReceiveBoxTest, FindLocatesTextAndHexBytesAcrossDeliveriesInBothViews) {
    Deliver("PRINTER RE");
    Deliver("ADY\r\n");
    for (int i = 0; i < 300; ++i) Deliver("filler " + std::to_string(i) + "\r\n");
    Box().Flush();
    const std::size_t bottom = Box().TopRow();
    ASSERT_GT(bottom, 100u);
    QTest::keyClick(&Box(), Qt::Key_F, Qt::ControlModifier);
    ReceiveFindBar* bar = Box().FindBar();
    ASSERT_TRUE(bar->isVisible());
    QTest::keyClicks(bar->Query(), "READY");
    EXPECT_EQ(bar->Count()->text(), "1/1");
    EXPECT_LT(Box().TopRow(), 5u) << "scrolled up to the match";

    bar->Query()->clear();
    bar->HexBytes()->setChecked(true);
    QTest::keyClicks(bar->Query(), "45 41 44");  // "EAD" across the two deliveries
    EXPECT_EQ(bar->Count()->text(), "1/1");
    QTest::keyClicks(bar->Query(), "5");
    EXPECT_EQ(bar->Count()->text(), "十六进制有误");

    Choose("十六进制显示(&H)");
    bar->Query()->setText("0D 0A 66");
    EXPECT_EQ(Box().MatchCount(), 300);
    EXPECT_TRUE(Box().FindNext(true));
    EXPECT_EQ(Box().CurrentMatch(), 299) << "wraps from the first to the last";
    QTest::keyClick(bar->Query(), Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(ReceiveBoxTest, AnAssistiveToolReadsTheShownText) {
    Deliver("OK\r\nREADY");
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&Box());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->role(), QAccessible::EditableText);
    EXPECT_EQ(box->text(QAccessible::Name), "数据接收");
    ASSERT_NE(box->textInterface(), nullptr);
    EXPECT_EQ(box->textInterface()->text(0, box->textInterface()->characterCount()), "OK\nREADY");
    int start = 0, end = 0;
    EXPECT_EQ(box->textInterface()->textAtOffset(5, QAccessible::LineBoundary, &start, &end),
              "READY");
}

TEST_F(ReceiveBoxTest, ANewCharacterSetDecodesWhatIsShownAgain) {
    Deliver("\xD6\xD0\xCE\xC4");
    Box().SetCharset("GB18030");
    EXPECT_EQ(w.ReceivedText(), QString::fromUtf8("中文"));
    Box().SetCharset("ISO-8859-1");
    EXPECT_EQ(w.ReceivedText(), QString::fromLatin1("\xD6\xD0\xCE\xC4"));
}

}  // namespace
}  // namespace velkaro::test
