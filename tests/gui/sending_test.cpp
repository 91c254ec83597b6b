#include <gtest/gtest.h>

#include <QTest>
#include <fstream>

#include "gui_test_util.h"
#include "support/pty_pair.h"

namespace velkaro::test {
namespace {

// A serial printer on a pseudo-terminal behind COM1.
class SendingTest : public ::testing::Test {
  protected:
    explicit SendingTest(QByteArray charset = "UTF-8") : w(Environment(charset)) {
        pty.LinkAs(w.devices.Path(), "ttyS0");
    }
    static DialogEnvironment Environment(const QByteArray& charset) {
        DialogEnvironment environment;
        environment.charset = charset;
        return environment;
    }
    void Open() {
        w.Click(IDC_OPEN_PORT);
        ASSERT_TRUE(w.dialog->PortOpen());
    }
    // What the printer received within a short while.
    std::string Received(std::size_t expected) {
        return pty.Receive(expected, expected ? 3000 : 200);
    }
    std::string WriteFile(const std::string& name, const std::string& content) {
        const std::string path = (w.devices.Path() / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    WindowFixture w;
    PtyPair pty;
};

TEST_F(SendingTest, TheSendBoxGoesOutExactlyAsTyped) {
    Open();
    const struct {
        std::function<void(QPlainTextEdit*)> type;
        std::string bytes;
    } cases[] = {
        {[](QPlainTextEdit* box) {
             QTest::keyClicks(box, "A");
             QTest::keyClick(box, Qt::Key_Return);
             QTest::keyClicks(box, "B");
         },
         "A\r\nB"},
        {[](QPlainTextEdit* box) { QTest::keyClicks(box, "1B 41"); }, "1B 41"},
        {[](QPlainTextEdit* box) { box->setPlainText("^XA\n^XZ\n"); }, "^XA\r\n^XZ\r\n"},
        {[](QPlainTextEdit* box) { box->setPlainText("标签"); }, "\xE6\xA0\x87\xE7\xAD\xBE"},
    };
    for (const auto& c : cases) {
        w.SendBox()->clear();
        c.type(w.SendBox());
        w.Click(IDC_SEND_DATA);
        EXPECT_EQ(Received(c.bytes.size()), c.bytes);
    }
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(SendingTest, NothingIsSentOrSaidWhileClosedAndAnEmptyBoxIsReported) {
    w.Click(IDC_SEND_DATA);  // closed, empty box: nothing at all
    w.SendBox()->setPlainText("~HS");
    w.Click(IDC_SEND_DATA);  // closed: nothing either
    EXPECT_TRUE(w.ui.messages.empty());
    EXPECT_EQ(Received(0), "");

    Open();
    w.SendBox()->clear();
    w.Click(IDC_SEND_DATA);
    ASSERT_EQ(w.ui.MessageTexts(), QStringList{"无数据可发送！"});
    EXPECT_EQ(w.ui.messages[0].icon, IUiServices::Icon::Exclamation);
    EXPECT_EQ(Received(0), "");
}

TEST_F(SendingTest, SendFileSendsWholeFilesAndReportsWhatGoesWrong) {
    w.ui.fileToOpen = QString::fromStdString(WriteFile("x.prn", "x"));
    w.Click(IDC_SEND_FILE);
    EXPECT_EQ(w.ui.MessageTexts(), QStringList{"端口未打开！"});
    EXPECT_EQ(w.ui.fileDialogs, 0) << "checked before the file dialog";

    Open();
    w.ui.messages.clear();
    std::string job(10000, '\0');
    for (std::size_t i = 0; i < job.size(); ++i) job[i] = static_cast<char>(i % 251);
    const struct {
        std::string file;  // empty: the user cancels the dialog
        std::string sent;
        QStringList messages;
    } cases[] = {
        {WriteFile("job.prn", job), job, {}},
        {WriteFile("empty.prn", ""), "", {"文件为空，没有发送任何数据。"}},
        {"", "", {}},
        {(w.devices.Path() / "missing.prn").string(), "", {"文件打开失败！"}},
    };
    for (const auto& c : cases) {
        w.ui.messages.clear();
        w.ui.fileToOpen = QString::fromStdString(c.file);
        w.Click(IDC_SEND_FILE);
        EXPECT_EQ(Received(c.sent.size()), c.sent) << c.file;
        EXPECT_EQ(w.ui.MessageTexts(), c.messages) << c.file;
    }
}

class LocaleSendingTest : public SendingTest {
  protected:
    LocaleSendingTest() : SendingTest("GB18030") {}
};

TEST_F(LocaleSendingTest, TextIsEncodedInTheLocalesCharacterSet) {
    Open();
    w.SendBox()->setPlainText("中文\n");
    w.Click(IDC_SEND_DATA);
    EXPECT_EQ(Received(6), "\xD6\xD0\xCE\xC4\r\n");
}

}  // namespace
}  // namespace velkaro::test
