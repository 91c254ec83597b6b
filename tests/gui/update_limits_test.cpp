// What a hostile or broken update server can and cannot do: a huge body is never held in
// memory, a server that drips ends with the deadline, and odd version and link texts are shown
// tamed or not at all.
#include <poll.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "gui_test_util.h"
#include "support/http_download.h"
#include "support/loopback.h"
#include "support/program_strings.h"
#include "support/update_notice.h"
#include "widgets/hyperlink.h"
#include "window_services/port_event.h"

namespace velkaro::test {
namespace {

// Answers one request on its own thread with `respond`, which writes to the socket; counts
// what went out. The window's thread stays free to run the download.
class ThreadedHttpServer {
  public:
    using Responder = std::function<void(int fd, std::atomic<long long>& sent)>;
    explicit ThreadedHttpServer(Responder respond)
        : thread_([this, respond = std::move(respond)] {
              UniqueFd peer = listener_.Accept(10000);
              if (!peer) return;
              std::string request;
              while (request.find("\r\n\r\n") == std::string::npos) {
                  char buffer[1024];
                  const ssize_t n = ::recv(peer.Get(), buffer, sizeof buffer, 0);
                  if (n <= 0) return;
                  request.append(buffer, static_cast<std::size_t>(n));
              }
              respond(peer.Get(), sent_);
              closedByClient_ = true;
          }) {}
    ~ThreadedHttpServer() { thread_.join(); }

    QString Url() const {
        return QStringLiteral("http://127.0.0.1:%1/UpdateFile.txt").arg(listener_.Number());
    }
    long long Sent() const { return sent_; }
    bool Done() const { return closedByClient_; }

  private:
    LoopbackListener listener_;
    std::atomic<long long> sent_{0};
    std::atomic<bool> closedByClient_{false};
    std::thread thread_;
};

// Sends it all; false once the client is gone.
bool SendAll(int fd, const std::string& bytes, std::atomic<long long>& sent) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
        sent += n;
    }
    return true;
}

// Counts the update texts handed to it.
class UpdateReceiver : public QObject {
  public:
    int received = 0;
    QByteArray text;

  protected:
    bool event(QEvent* event) override {
        if (static_cast<int>(event->type()) != WM_UPDATE_DONE) return QObject::event(event);
        ++received;
        text = QByteArray::fromStdString(static_cast<PortEvent*>(event)->Message().bytes);
        return true;
    }
};

long long ProcStatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stoll(line.substr(std::strlen(field) + 1));
    return -1;
}

class ScopedNoProxy {
  public:
    ScopedNoProxy() {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
    }
};

TEST(UpdateLimits, AChunkedGigabyteIsCutAt64KBAndNeverHeld) {
    ScopedNoProxy noProxy;
    const std::string head = "1.02\r\nhttp://example.com/v102.zip\r\n";
    ThreadedHttpServer server([&](int fd, std::atomic<long long>& sent) {
        if (!SendAll(fd, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", sent)) return;
        const std::string piece = head + std::string((1 << 20) - head.size(), 'x');
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
        const std::string chunk = size + piece + "\r\n";
        for (int i = 0; i < 1024; ++i)  // 1 GB
            if (!SendAll(fd, chunk, sent)) return;
        SendAll(fd, "0\r\n\r\n", sent);
    });
    // Peak memory from here on: the kernel's high-water mark, reset.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long long before = ProcStatusKb("VmRSS:");
    UpdateReceiver owner;
    CHttpDownload download;
    download.StartDownload(&owner, server.Url());
    ASSERT_TRUE(WaitUntil([&] { return owner.received > 0 && !download.Running(); }, 60000));
    EXPECT_TRUE(WaitUntil([&] { return server.Done(); }, 60000));
    const long long peakGrowthKb = ProcStatusKb("VmHWM:") - before;
    RecordProperty("peak_growth_kb", static_cast<int>(peakGrowthKb));
    RecordProperty("bytes_served", static_cast<int>(server.Sent()));
    EXPECT_LT(peakGrowthKb, 50 * 1024) << "peak growth " << peakGrowthKb << " kB";
    EXPECT_LT(server.Sent(), 512LL << 20) << "the rest was not fetched";
    EXPECT_EQ(owner.received, 1);
    EXPECT_TRUE(owner.text.startsWith("1.02\r\nhttp://example.com/v102.zip\r\n"));
    EXPECT_LE(owner.text.size(), CHttpDownload::kMaxBytes + 2 * 64 * 1024);
}

TEST(UpdateLimits, AServerThatDripsIsDroppedAtTheDeadline) {
    ScopedNoProxy noProxy;
    std::atomic<bool> stop{false};
    ThreadedHttpServer server([&](int fd, std::atomic<long long>& sent) {
        const std::string body = "1.02\r\nhttp://example.com/v102.zip\r\n";
        if (!SendAll(
                fd,
                "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n",
                sent))
            return;
        for (char c : body) {  // one byte every 2 s, until the client has gone
            if (!SendAll(fd, std::string(1, c), sent) || stop) return;
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 2000) > 0) return;  // the client closed
        }
    });
    UpdateReceiver owner;
    CHttpDownload download;
    download.SetDeadline(1500);
    QElapsedTimer timer;
    timer.start();
    download.StartDownload(&owner, server.Url());
    EXPECT_TRUE(WaitUntil([&] { return !download.Running(); }, 20000));
    EXPECT_LT(timer.elapsed(), 15000);
    EXPECT_TRUE(WaitUntil([&] { return server.Done(); }, 10000)) << "the connection is closed";
    stop = true;
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.received, 0);
    EXPECT_EQ(CHttpDownload::kDefaultDeadlineMs, 30000);
}

TEST(UpdateLimits, VersionAndLinkTextsAreTamedOrRefused) {
    const QString own = QString::fromUtf8(kProgramVersion);
    const QString longVersion(60000, QLatin1Char('9'));
    const struct {
        const char* name;
        QString version, link;
        QString shownVersion;  // empty: no notice
        QString offeredLink, host;
    } cases[] = {
        {"plain", "1.02", "https://update.example.com/v102.zip", "1.02",
         "https://update.example.com/v102.zip", "update.example.com"},
        {"right-to-left override", QString::fromUtf8("1.0\u202E2"), "http://example.com/a", "1.02",
         "http://example.com/a", "example.com"},
        {"control and format characters",
         QString::fromUtf8("\x01"
                           "1.\u200B0\t3\u2066"),
         "http://example.com/a", "1.03", "http://example.com/a", "example.com"},
        {"60,000 characters", longVersion, "http://example.com/a", QString(32, QLatin1Char('9')),
         "http://example.com/a", "example.com"},
        {"only format characters", QString::fromUtf8("\u202E\u200B"), "http://example.com/a", "",
         "", ""},
        {"a user part posing as the host", "1.02", "http://update.velkaro.com%2F@127.0.0.1/a", "",
         "", ""},
        {"a user part", "1.02", "http://update.velkaro.com@evil.example/a", "", "", ""},
        {"an encoded host", "1.02", "http://upd%61te.example.com/a", "", "", ""},
        {"a host with odd characters", "1.02", "http://exa_mple.com/a", "", "", ""},
        {"no host", "1.02", "http:///a", "", "", ""},
        {"an address host", "1.02", "http://192.0.2.7:8080/v.zip", "1.02",
         "http://192.0.2.7:8080/v.zip", "192.0.2.7"},
        {"spaces are encoded", "1.02", "https://example.com/Velkaro Setup 1.02.zip", "1.02",
         "https://example.com/Velkaro%20Setup%201.02.zip", "example.com"},
        {"a program", "1.02", "javascript:alert(1)", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto notice = ReadUpdateNotice((c.version + "\r\n" + c.link + "\r\n").toUtf8(), own);
        ASSERT_EQ(notice.has_value(), !c.shownVersion.isEmpty());
        if (!notice) continue;
        EXPECT_EQ(notice->version, c.shownVersion);
        EXPECT_EQ(notice->link, c.offeredLink);
        EXPECT_EQ(notice->host, c.host);
    }
}

TEST(UpdateLimits, TheNoticeShowsItsHostAndIsATabStopOnlyWhenShown) {
    ScopedNoProxy noProxy;
    ThreadedHttpServer server([](int fd, std::atomic<long long>& sent) {
        const std::string body = "1.02\r\nhttps://update.example.com/v102.zip\r\n";
        SendAll(fd,
                "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: " +
                    std::to_string(body.size()) + "\r\n\r\n" + body,
                sent);
    });
    DialogEnvironment environment;
    environment.updateUrl = server.Url();
    WindowFixture w(environment);
    auto* notice = Control<CXTHyperLink>(w.dialog.get(), IDC_UPDATE_LINK);
    EXPECT_EQ(notice->focusPolicy(), Qt::NoFocus) << "empty, it is no tab stop";
    ASSERT_TRUE(WaitUntil([&] { return !notice->Text().isEmpty(); }, 10000));
    EXPECT_EQ(notice->toolTip(), "update.example.com");
    EXPECT_EQ(notice->focusPolicy(), Qt::TabFocus);
}

}  // namespace
}  // namespace velkaro::test
