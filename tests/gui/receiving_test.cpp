#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <atomic>
#include <thread>

#include "gui_test_util.h"

namespace velkaro::test {
namespace {

class ReceivingTest : public ::testing::Test {
  protected:
    explicit ReceivingTest(QByteArray charset = "UTF-8") : w(Environment(charset)) {}
    static DialogEnvironment Environment(const QByteArray& charset) {
        DialogEnvironment environment;
        environment.charset = charset;
        return environment;
    }
    // Delivers bytes the way a reader does: a posted event with its own copy.
    void Deliver(const std::string& bytes, int type = WM_SERIAL_DATA) {
        QCoreApplication::postEvent(w.dialog.get(), new PortEvent(PortMessage{type, bytes, 1}));
        QCoreApplication::processEvents();
    }
    WindowFixture w;
};

TEST_F(ReceivingTest, EveryByteIsShownAndLineBreaksStartNewLines) {
    const struct {
        std::vector<std::string> deliveries;
        QString shown;
    } cases[] = {
        {{"OK\r\n", "READY"}, "OK\nREADY"},
        {{std::string("A\0B", 3)}, QString::fromUtf8("A\u2400B")},
        {{"\x02"
          "030,0,0\x03"},
         QString::fromUtf8("\u2402030,0,0\u2403")},
        {{"a\rb\nc\r\nd"}, "a\nb\nc\nd"},
        {{"line\r", "\nnext"}, "line\nnext"},  // CR LF split across two deliveries
        {{"t\tab\x7f\x1b"}, QString::fromUtf8("t\tab\u2421\u241b")},
        {{"\xE4\xB8", "\xAD\xE6\x96", "\x87"}, QString::fromUtf8("中文")},
    };
    for (const auto& c : cases) {
        w.Click(IDC_CLEAR_RECEIVE);
        for (std::size_t i = 0; i < c.deliveries.size(); ++i)
            Deliver(c.deliveries[i], i % 2 ? WM_USB_DATA : WM_SOCKET_DATA);
        EXPECT_EQ(w.ReceivedText(), c.shown) << c.deliveries[0];
    }
}

TEST_F(ReceivingTest, TheViewFollowsTheEnd) {
    w.dialog->show();
    std::string many;
    for (int i = 0; i < 500; ++i) many += "status line " + std::to_string(i) + "\r\n";
    Deliver(many);
    w.ReceivedText();
    QScrollBar* bar = w.ReceiveBox()->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(ReceivingTest, ClearingWhileDataArrivesStartsAfresh) {
    Deliver("old data");
    QCoreApplication::postEvent(w.dialog.get(),
                                new PortEvent(PortMessage{WM_SERIAL_DATA, "queued", 1}));
    w.Click(IDC_CLEAR_RECEIVE);
    EXPECT_EQ(w.ReceivedText(), "");
    QCoreApplication::processEvents();
    EXPECT_EQ(w.ReceivedText(), "queued");
    Deliver("new");
    EXPECT_EQ(w.ReceivedText(), "queuednew");
}

TEST_F(ReceivingTest, TextTypedIntoTheBoxIsKeptWhenMoreArrives) {
    Deliver("reply 1\r\n");
    w.dialog->show();
    QTest::keyClicks(w.ReceiveBox(), "my notex");
    QTest::keyClick(w.ReceiveBox(), Qt::Key_Backspace);
    QTest::keyClick(w.ReceiveBox(), Qt::Key_Return);
    Deliver("reply 2");
    EXPECT_EQ(w.ReceivedText(), "reply 1\nmy note\nreply 2");
}

TEST_F(ReceivingTest, TheParallelKindNeverAddsAnything) {
    w.ChooseKind("LPT");
    QCoreApplication::processEvents();
    EXPECT_EQ(w.ReceivedText(), "");
}

class LocaleReceivingTest : public ReceivingTest {
  protected:
    LocaleReceivingTest() : ReceivingTest("GB18030") {}
};

TEST_F(LocaleReceivingTest, SplitCharactersOfTheLocalesSetComeOutWhole) {
    Deliver("\xD6");
    Deliver("\xD0\xCE");
    Deliver("\xC4!");
    EXPECT_EQ(w.ReceivedText(), QString::fromUtf8("中文!"));
}

}  // namespace
}  // namespace velkaro::test

namespace velkaro::test {
namespace {

// Readers wait while the window has a full budget of unhandled data, and never past a stop.
TEST(ReceiveBudgetTest, ReadersWaitForTheWindowToCatchUpButNeverPastAStop) {
    auto budget = std::make_shared<ReceiveBudget>(1000);
    EventFd stop;
    EXPECT_TRUE(budget->WaitForRoom(stop));
    auto* pending = new PortEvent(PortMessage{WM_SERIAL_DATA, std::string(1000, 'x'), 1}, budget);
    budget->Posted(1000);

    std::atomic<int> result{-1};
    std::thread reader([&] { result = budget->WaitForRoom(stop) ? 1 : 0; });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(result, -1) << "full: the reader waits";
    delete pending;  // the window handled it
    reader.join();
    EXPECT_EQ(result, 1);
    EXPECT_EQ(budget->InFlight(), 0u);

    budget->Posted(5000);
    std::thread stopped([&] { result = budget->WaitForRoom(stop) ? 1 : 0; });
    stop.Signal();
    stopped.join();
    EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace velkaro::test
