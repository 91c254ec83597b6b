// A network connect attempt that hangs: the status line says so, other input is ignored, and
// "打开端口" or Escape gives it up without an error message.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <thread>

#include "gui_test_util.h"
#include "support/loopback.h"

namespace velkaro::test {
namespace {

using namespace std::chrono_literals;

TEST(ConnectCancel, TheOpenButtonOrEscapeGivesUpAHangingAttempt) {
    LoopbackListener full(0);
    const std::vector<UniqueFd> waiting = FillAcceptQueue(full);
    std::this_thread::sleep_for(50ms);
    for (const char* way : {"打开端口", "Escape"}) {
        SCOPED_TRACE(way);
        DialogEnvironment environment;
        environment.connectTimeoutMs = 30000;
        WindowFixture w(environment);
        w.dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.dialog.get()));
        w.ChooseKind("ETHERNET");
        w.dialog->m_strIPAddress = kLoopback;
        w.dialog->m_strIPPort = QString::fromStdString(full.Port());
        auto* open = Control<QPushButton>(w.dialog.get(), IDC_OPEN_PORT);
        auto* setup = Control<QPushButton>(w.dialog.get(), IDC_PORT_SETUP);
        QString statusDuring;
        QTimer::singleShot(300, [&] {
            statusDuring = Control<QLabel>(w.dialog.get(), IDC_STATUS)->text();
            QTest::mouseClick(setup, Qt::LeftButton);  // ignored while connecting
            if (QByteArray(way) == "Escape")
                QTest::keyClick(w.SendBox(), Qt::Key_Escape);
            else
                QTest::mouseClick(open, Qt::LeftButton);
        });
        QElapsedTimer clock;
        clock.start();
        w.Click(IDC_OPEN_PORT);
        const qint64 elapsed = clock.elapsed();
        if (w.dialog->PortOpen())
            GTEST_SKIP() << "this kernel took the connection despite the queue";
        EXPECT_EQ(statusDuring,
                  "当前状态：127.0.0.1:" + QString::fromStdString(full.Port()) + " 正在连接…");
        EXPECT_LT(elapsed, 10000) << "given up, not timed out";
        EXPECT_EQ(w.ui.dialogsRun, 0) << "the settings button was not pressed";
        EXPECT_TRUE(w.ui.messages.empty());
        EXPECT_EQ(w.dialog->Status(),
                  "当前状态：127.0.0.1:" + QString::fromStdString(full.Port()) + " 关闭");
    }
}

}  // namespace
}  // namespace velkaro::test
