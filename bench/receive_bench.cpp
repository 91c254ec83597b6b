// The receive path from a port event to text in the receive box, offscreen.
//   1. 50 MB in 512-byte deliveries, posted by a thread the way a reader posts them.
//   2. The same flood into a naive box that re-sets its whole text on every delivery, stopped
//      once it falls behind.
//   3. 200 MB from a loopback TCP peer through the network port's reader into the box.
// Each figure is printed as "name: value".
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "window_services/port_event.h"
#include "app/receive_view.h"
#include "window_services/ui_services.h"
#include "app/velkaro_dlg.h"
#include "platform/unique_fd.h"
#include "widgets/dialog_template.h"

using namespace velkaro;

namespace {

constexpr std::size_t kDelivery = 512;
std::size_t kFloodBytes = 50u << 20;
constexpr std::size_t kTcpBytes = 200u << 20;
constexpr std::size_t kMaxInFlight = 1u << 20;  // a reader stays this far ahead at most

class QuietUi : public IUiServices {
  public:
    void MessageBox(QWidget*, const QString& text, Icon) override {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    QString GetOpenFileName(QWidget*) override { return {}; }
    QString GetSaveFileName(QWidget*, const QString&) override { return {}; }
    int RunDialog(QDialog&) override { return 0; }
    QAction* PopupMenu(QMenu&, const QPoint&) override { return nullptr; }
    void OpenUrl(const QUrl&) override {}
};

// Printer-like text: status lines of varying length, CR LF terminated.
std::string MakeText(std::size_t size) {
    std::string text;
    text.reserve(size);
    for (unsigned line = 0; text.size() < size; ++line) {
        text += "PRINTER STATUS " + std::to_string(line) + " ";
        text.append(20 + line % 60, static_cast<char>('A' + line % 26));
        text += "\r\n";
    }
    text.resize(size);
    return text;
}

double RssMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kb = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> kb;
            break;
        }
    }
    return kb / 1024.0;
}

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Counts the bytes of every port event the window takes, and the longest pause between turns
// of the event loop.
class Probe : public QObject {
  public:
    explicit Probe(QObject* window) {
        window->installEventFilter(this);
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ && measuring_) maxGapNs_ = std::max(maxGapNs_, now - last_);
            last_ = now;
        });
        clock_.start();
        ticker_.start(0);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        const int type = static_cast<int>(event->type());
        if (type == WM_SERIAL_DATA || type == WM_SOCKET_DATA)
            consumed += static_cast<PortEvent*>(event)->Message().bytes.size();
        return false;
    }
    void Start() {
        consumed = 0;
        maxGapNs_ = 0;
        last_ = 0;
        measuring_ = true;
    }
    double MaxGapMs() const { return maxGapNs_ / 1e6; }
    std::atomic<std::size_t> consumed{0};

  private:
    QTimer ticker_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 maxGapNs_ = 0;
    bool measuring_ = false;
};

void WaitFor(const std::function<bool()>& done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Posts `text` to `window` in deliveries, never more than kMaxInFlight ahead of the window.
std::thread Producer(QObject* window, const std::string& text, const Probe& probe,
                     const std::atomic<bool>& stop, std::size_t maxInFlight = kMaxInFlight) {
    return std::thread([window, &text, &probe, &stop, maxInFlight] {
        for (std::size_t at = 0; at < text.size() && !stop; at += kDelivery) {
            while (at - probe.consumed.load() > maxInFlight && !stop)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            QCoreApplication::postEvent(
                window, new PortEvent({WM_SERIAL_DATA, text.substr(at, kDelivery), 1}));
        }
    });
}

void FloodOurs(const std::string& text) {
    QuietUi ui;
    DialogEnvironment environment;
    environment.charset = "UTF-8";
    CVelkaroDlg dialog(ui, environment);
    dialog.show();
    Probe probe(&dialog);
    const double rssBefore = RssMb();
    probe.Start();
    std::atomic<bool> stop{false};
    QElapsedTimer clock;
    clock.start();
    std::thread producer = Producer(&dialog, text, probe, stop);
    WaitFor([&] { return probe.consumed >= text.size(); });
    dialog.Receiver().Flush();
    const double seconds = clock.nsecsElapsed() / 1e9;
    producer.join();
    const double heldMb =
        dialog.Receiver().Log().Stream(ReceiveKind::Received).MemoryBytes() / 1048576.0;
    const double growthMb = RssMb() - rssBefore;
    std::printf("receive_mb_per_s: %.1f\n", text.size() / 1048576.0 / seconds);
    std::printf("max_event_gap_ms: %.1f\n", probe.MaxGapMs());
    std::printf("peak_rss_mb: %.1f\n", PeakRssMb());
    std::printf("rss_growth_mb: %.1f\n", growthMb);
    std::printf("text_held_mb: %.1f\n", heldMb);
    std::printf("memory_per_text_held: %.2f\n", growthMb / heldMb);
    std::printf("memory_per_received_byte: %.2f\n", growthMb / (text.size() / 1048576.0));
}

// The naive way: keep the whole text and set all of it into the box on every delivery.
class NaiveBox : public QPlainTextEdit {
  public:
    bool event(QEvent* event) override {
        if (static_cast<int>(event->type()) != WM_SERIAL_DATA) return QPlainTextEdit::event(event);
        all_ += QString::fromUtf8(static_cast<PortEvent*>(event)->Message().bytes);
        setPlainText(all_);
        return true;
    }

  private:
    QString all_;
};

void FloodNaive(const std::string& text, double oursMbPerS) {
    NaiveBox box;
    box.show();
    Probe probe(&box);
    probe.Start();
    std::atomic<bool> stop{false};
    QElapsedTimer clock;
    clock.start();
    // A small lead, so that one turn of the loop never holds more than a few deliveries.
    std::thread producer = Producer(&box, text, probe, stop, 8 * kDelivery);
    // Falling behind: after the first second, delivering under a tenth of our rate.
    double mbPerS = 0;
    WaitFor([&] {
        const double seconds = clock.nsecsElapsed() / 1e9;
        mbPerS = probe.consumed / 1048576.0 / seconds;
        return probe.consumed >= text.size() || (seconds > 1.0 && mbPerS < oursMbPerS / 10) ||
               seconds > 20;
    });
    stop = true;
    producer.join();
    std::printf("baseline_receive_mb_per_s: %.2f\n", mbPerS);
    std::printf("baseline_max_event_gap_ms: %.1f\n", probe.MaxGapMs());
    std::printf("baseline_stopped_after_mb: %.2f\n", probe.consumed / 1048576.0);
}

// A peer on 127.0.0.1 that sends `size` bytes to the first client.
class FloodPeer {
  public:
    explicit FloodPeer(const std::string& text) : listen_(::socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in self{};
        self.sin_family = AF_INET;
        self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listen_.Get(), reinterpret_cast<sockaddr*>(&self), sizeof self);
        ::listen(listen_.Get(), 1);
        socklen_t length = sizeof self;
        ::getsockname(listen_.Get(), reinterpret_cast<sockaddr*>(&self), &length);
        port_ = ntohs(self.sin_port);
        thread_ = std::thread([this, &text] {
            velkaro::UniqueFd client(::accept(listen_.Get(), nullptr, nullptr));
            for (std::size_t at = 0; at < text.size();) {
                const ssize_t n =
                    ::send(client.Get(), text.data() + at, text.size() - at, MSG_NOSIGNAL);
                if (n <= 0) break;
                at += static_cast<std::size_t>(n);
            }
        });
    }
    ~FloodPeer() { thread_.join(); }
    int Port() const { return port_; }

  private:
    velkaro::UniqueFd listen_;
    int port_ = 0;
    std::thread thread_;
};

void FloodTcp() {
    const std::string text = MakeText(kTcpBytes);
    QuietUi ui;
    DialogEnvironment environment;
    environment.charset = "UTF-8";
    CVelkaroDlg dialog(ui, environment);
    Probe probe(&dialog);
    FloodPeer peer(text);
    dialog.m_strIPAddress = QStringLiteral("127.0.0.1");
    dialog.m_strIPPort = QString::number(peer.Port());
    auto* kinds = Control<QComboBox>(&dialog, IDC_PORT_TYPE);
    kinds->setCurrentIndex(3);
    dialog.OnCbnSelchangePortType();
    dialog.m_strIPAddress = QStringLiteral("127.0.0.1");
    dialog.m_strIPPort = QString::number(peer.Port());
    probe.Start();
    QElapsedTimer clock;
    clock.start();
    dialog.OnBnClickedOpenPort();
    WaitFor([&] { return probe.consumed >= text.size(); });
    dialog.Receiver().Flush();
    std::printf("tcp_receive_mb_per_s: %.1f\n",
                text.size() / 1048576.0 / (clock.nsecsElapsed() / 1e9));
    std::printf("tcp_max_event_gap_ms: %.1f\n", probe.MaxGapMs());
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (const char* mb = std::getenv("VELKARO_BENCH_MB")) kFloodBytes = std::stoul(mb) << 20;
    const std::string text = MakeText(kFloodBytes);
    QElapsedTimer clock;
    clock.start();
    FloodOurs(text);
    const double ours = kFloodBytes / 1048576.0 / (clock.nsecsElapsed() / 1e9);
    FloodNaive(text, ours);
    if (argc < 2 || std::string(argv[1]) != "--no-tcp") FloodTcp();
    return 0;
}
