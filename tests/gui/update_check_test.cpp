// The update check at start, against a one-shot HTTP server on 127.0.0.1: which answers bring
// up the red download notice, where it leads, and that the request ends with the window.
#include <gtest/gtest.h>

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <optional>

#include "window_services/port_event.h"
#include "gui_test_util.h"
#include "widgets/hyperlink.h"

namespace velkaro::test {
namespace {

// Answers one request with a scripted status line and body, then closes.
class OneShotHttpServer {
  public:
    OneShotHttpServer(QByteArray status, QByteArray body, bool answerAtOnce = true)
        : status_(std::move(status)), body_(std::move(body)), answerAtOnce_(answerAtOnce) {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] { OnConnection(); });
    }

    QString Url() const {
        return QStringLiteral("http://127.0.0.1:%1/UpdateFile.txt").arg(server_.serverPort());
    }
    bool Requested() const { return request_.contains("\r\n\r\n"); }
    bool Closed() const { return closed_; }
    const QByteArray& Request() const { return request_; }
    const QHostAddress& Peer() const { return peer_; }
    int Connections() const { return connections_; }

    void Answer() {
        if (!socket_ || answered_ || socket_->state() != QAbstractSocket::ConnectedState) return;
        answered_ = true;
        socket_->write("HTTP/1.1 " + status_ + "\r\nContent-Type: text/plain\r\nContent-Length: " +
                       QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_);
        socket_->disconnectFromHost();
    }

  private:
    void OnConnection() {
        socket_ = server_.nextPendingConnection();
        ++connections_;
        server_.close();  // one request only
        peer_ = socket_->peerAddress();
        QObject::connect(socket_, &QTcpSocket::readyRead, [this] {
            request_ += socket_->readAll();
            if (Requested() && answerAtOnce_) Answer();
        });
        QObject::connect(socket_, &QTcpSocket::disconnected, [this] { closed_ = true; });
        QObject::connect(socket_, &QTcpSocket::errorOccurred, [this] { closed_ = true; });
    }

    QTcpServer server_;
    QPointer<QTcpSocket> socket_;
    QByteArray status_;
    QByteArray body_;
    bool answerAtOnce_;
    bool answered_ = false;
    bool closed_ = false;
    int connections_ = 0;
    QByteArray request_;
    QHostAddress peer_;
};

// Notes when the downloaded text reaches the window.
class UpdateTextSpy : public QObject {
  public:
    bool Seen() const { return seen_; }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (static_cast<int>(event->type()) == WM_UPDATE_DONE) seen_ = true;
        return false;
    }

  private:
    bool seen_ = false;
};

// Keeps any configured proxy away from the local server while it lives.
class NoProxyForLocalhost {
  public:
    NoProxyForLocalhost() {
        for (const char* name : {"no_proxy", "NO_PROXY"}) {
            if (qEnvironmentVariableIsSet(name))
                old_.emplace_back(name, qgetenv(name));
            else
                old_.emplace_back(name, std::nullopt);
            qputenv(name, "127.0.0.1,localhost");
        }
    }
    ~NoProxyForLocalhost() {
        for (const auto& [name, value] : old_) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }

  private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> old_;
};

DialogEnvironment WithUpdateUrl(const QString& url) {
    DialogEnvironment environment;
    environment.updateUrl = url;
    return environment;
}

CXTHyperLink* Notice(const WindowFixture& w) {
    return Control<CXTHyperLink>(w.dialog.get(), IDC_UPDATE_LINK);
}

// A port on 127.0.0.1 where nothing listens.
quint16 ClosedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

TEST(UpdateCheck, TheAnswerDecidesTheNoticeAndItsLink) {
    NoProxyForLocalhost noProxy;
    const QByteArray oversized =
        "1.02\r\nhttps://example.com/v102.zip\r\n" + QByteArray(1 << 20, 'x');
    const struct {
        const char* name;
        QByteArray status;  // empty: no server at all
        QByteArray body;
        QString notice;
        QString link;
    } cases[] = {
        {"same version", "200 OK", "1.00\r\nhttp://x/dl\r\n", "", ""},
        {"LF only, no final LF", "200 OK", "1.01\nhttp://example.com/v101.zip",
         "最新版本下载：1.01", "http://example.com/v101.zip"},
        {"a lone CR is dropped", "200 OK", "1.0\r1\nhttp://example.com/a\n", "最新版本下载：1.01",
         "http://example.com/a"},
        {"an older version too", "200 OK", "0.90\r\nhttp://example.com/a\r\n", "最新版本下载：0.90",
         "http://example.com/a"},
        {"one line only", "200 OK", "2.00", "", ""},
        {"empty body", "200 OK", "", "", ""},
        {"not found", "404 Not Found", "1.01\r\nhttp://example.com/a\r\n", "", ""},
        {"no server", "", "", "", ""},
        {"oversized body", "200 OK", oversized, "最新版本下载：1.02",
         "https://example.com/v102.zip"},
        {"a local file", "200 OK", "1.03\r\nfile:///etc/passwd\r\n", "", ""},
        {"a mail address", "200 OK", "1.03\r\nmailto:someone@example.com\r\n", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<OneShotHttpServer> server;
        if (!c.status.isEmpty()) server.emplace(c.status, c.body);
        const QString url =
            server ? server->Url()
                   : QStringLiteral("http://127.0.0.1:%1/UpdateFile.txt").arg(ClosedPort());
        WindowFixture w(WithUpdateUrl(url));
        UpdateTextSpy spy;
        w.dialog->installEventFilter(&spy);
        CXTHyperLink* link = Notice(w);

        // The request ends: the text reaches the window, or the server is done and a moment
        // passes in which nothing arrives.
        if (server) {
            ASSERT_TRUE(WaitUntil([&] { return spy.Seen() || server->Closed(); }, 3000));
            EXPECT_TRUE(server->Request().startsWith("GET /UpdateFile.txt HTTP/1.1\r\n"));
            EXPECT_EQ(server->Peer(), QHostAddress(QHostAddress::LocalHost));
            EXPECT_EQ(server->Connections(), 1);
        }
        if (!spy.Seen()) WaitUntil([&] { return spy.Seen(); }, c.notice.isEmpty() ? 150 : 3000);

        EXPECT_EQ(link->Text(), c.notice);
        EXPECT_EQ(link->URL(), c.link);
        if (c.notice.isEmpty()) {
            link->Click();
            EXPECT_TRUE(w.ui.openedUrls.empty());
            continue;
        }
        EXPECT_FALSE(link->Underline());
        EXPECT_EQ(link->CurrentColor(), kRed);
        link->Click();
        ASSERT_EQ(w.ui.openedUrls.size(), 1u);
        EXPECT_EQ(w.ui.openedUrls[0], QUrl(c.link));
        EXPECT_TRUE(link->Visited());
        EXPECT_EQ(link->CurrentColor(), kBlue);
    }
}

TEST(UpdateCheck, ClosingTheWindowWhileTheRequestWaitsEndsTheRequest) {
    NoProxyForLocalhost noProxy;
    OneShotHttpServer server("200 OK", "1.01\r\nhttp://example.com/a\r\n", false);
    auto w = std::make_unique<WindowFixture>(WithUpdateUrl(server.Url()));
    EXPECT_TRUE(Notice(*w)->Text().isEmpty()) << "nothing right after start";
    EXPECT_TRUE(Notice(*w)->URL().isEmpty());
    ASSERT_TRUE(WaitUntil([&] { return server.Requested(); }, 3000));
    EXPECT_TRUE(Notice(*w)->Text().isEmpty()) << "nothing while waiting";

    w.reset();
    EXPECT_TRUE(WaitUntil([&] { return server.Closed(); }, 2000))
        << "the request ended with the window";
    server.Answer();  // too late: nobody is there to take it
    WaitUntil([] { return false; }, 100);
    EXPECT_EQ(server.Connections(), 1);
}

}  // namespace
}  // namespace velkaro::test
