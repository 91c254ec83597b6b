// The receive path from a port event to the receive box, offscreen.
//   1. 200 MB in 512-byte deliveries, posted by a thread the way a reader posts them, with the
//      view capped at 64 MB: memory grows until the cap and then stays flat.
//   2. 50 MB the same way into the text view and then into the hexadecimal view.
//   3. The same flood into a naive box that re-sets its whole text on every delivery, stopped
//      once it falls behind.
//   4. 32 MB through a pty pair into the serial port's reader and the window, against a plain
//      64 KB read loop on a pty pair in the same run.
//   5. 200 MB from a loopback TCP peer through the network port's reader into the box.
// Each figure is printed as "name: value".
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/receive_view.h"
#include "app/velkaro_dlg.h"
#include "platform/receive_log.h"
#include "platform/unique_fd.h"
#include "widgets/dialog_template.h"
#include "window_services/port_event.h"
#include "window_services/ui_services.h"

using namespace velkaro;

namespace {

constexpr std::size_t kDelivery = 512;
std::size_t kFloodBytes = 50u << 20;
constexpr std::size_t kTcpBytes = 200u << 20;
constexpr std::size_t kCappedBytes = 200u << 20;
constexpr std::size_t kSerialBytes = 32u << 20;
constexpr std::size_t kMaxInFlight = 1u << 20;  // a reader stays this far ahead at most

class QuietUi : public IUiServices {
  public:
    void MessageBox(QWidget*, const QString& text, Icon) override {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
    }
    int AskWithButtons(QWidget*, const QString&, const QStringList&) override { return -1; }
    QString GetOpenFileName(QWidget*) override { return {}; }
    QString GetSaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
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

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
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
    // Without ticking it measures no gaps and leaves the event loop asleep while idle.
    explicit Probe(QObject* window, bool ticking = true) {
        window->installEventFilter(this);
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ && measuring_) maxGapNs_ = std::max(maxGapNs_, now - last_);
            last_ = now;
        });
        clock_.start();
        if (ticking) ticker_.start(0);
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

// Waits in the event loop as the program does, asleep while there is nothing to do.
void WaitAsleep(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    check.start(2);
    if (!done()) loop.exec();
}

// Posts `total` bytes of `text` (repeated as needed) to `window` in deliveries, never more
// than maxInFlight ahead of the window.
std::thread Producer(QObject* window, const std::string& text, std::size_t total,
                     const Probe& probe, const std::atomic<bool>& stop,
                     std::size_t maxInFlight = kMaxInFlight) {
    return std::thread([window, &text, total, &probe, &stop, maxInFlight] {
        for (std::size_t at = 0; at < total && !stop; at += kDelivery) {
            while (at - probe.consumed.load() > maxInFlight && !stop)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            const std::size_t from = at % text.size();
            QCoreApplication::postEvent(
                window, new PortEvent({WM_SERIAL_DATA,
                                       text.substr(from, std::min(kDelivery, total - at)), 1}));
        }
    });
}

struct FloodResult {
    double mbPerS = 0;
    double maxGapMs = 0;
    double rssGrowthMb = 0;
    double rssAtCapMb = 0;  // growth when the cap first dropped data; 0 if it never did
    double heldMb = 0;
    double mbPerCpuS = 0;  // received per second of processor time, all threads
};

FloodResult FloodWindow(const std::string& text, std::size_t total, bool hex) {
    QuietUi ui;
    DialogEnvironment environment;
    environment.charset = "UTF-8";
    CVelkaroDlg dialog(ui, environment);
    dialog.show();
    ReceiveView& view = dialog.Receiver();
    view.SetHex(hex);
    Probe probe(&dialog);
    QCoreApplication::processEvents();
    const double rssBefore = RssMb();
    FloodResult result;
    probe.Start();
    std::atomic<bool> stop{false};
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = CpuSeconds();
    std::thread producer = Producer(&dialog, text, total, probe, stop);
    WaitFor([&] {
        if (result.rssAtCapMb == 0 && view.Log().Dropped() > 0)
            result.rssAtCapMb = RssMb() - rssBefore;
        return probe.consumed >= total;
    });
    view.Flush();
    QCoreApplication::processEvents();
    const double seconds = clock.nsecsElapsed() / 1e9;
    producer.join();
    result.mbPerS = total / 1048576.0 / seconds;
    result.mbPerCpuS = total / 1048576.0 / (CpuSeconds() - cpuBefore);
    result.maxGapMs = probe.MaxGapMs();
    result.rssGrowthMb = RssMb() - rssBefore;
    result.heldMb = view.Log().Stream(ReceiveKind::Received).MemoryBytes() / 1048576.0;
    return result;
}

void FloodOurs(const std::string& text) {
    const FloodResult textView = FloodWindow(text, text.size(), false);
    std::printf("receive_mb_per_s: %.1f\n", textView.mbPerS);
    std::printf("max_event_gap_ms: %.1f\n", textView.maxGapMs);
    std::printf("receive_mb_per_cpu_s: %.1f\n", textView.mbPerCpuS);
    std::printf("rss_growth_mb: %.1f\n", textView.rssGrowthMb);
    std::printf("data_held_mb: %.1f\n", textView.heldMb);
    std::printf("memory_per_received_byte: %.2f\n",
                textView.rssGrowthMb / (text.size() / 1048576.0));
    const FloodResult hexView = FloodWindow(text, text.size(), true);
    std::printf("receive_mb_per_s_hex: %.1f\n", hexView.mbPerS);
    std::printf("max_event_gap_ms_hex: %.1f\n", hexView.maxGapMs);
    std::printf("receive_mb_per_cpu_s_hex: %.1f\n", hexView.mbPerCpuS);
}

// 200 MB into the default 64 MB cap: memory must stop growing once the cap is reached.
void FloodCapped(const std::string& text) {
    const FloodResult capped = FloodWindow(text, kCappedBytes, false);
    std::printf("receive_mb_per_s_capped: %.1f\n", capped.mbPerS);
    std::printf("max_event_gap_ms_capped: %.1f\n", capped.maxGapMs);
    std::printf("receive_rss_growth_mb: %.1f\n", capped.rssGrowthMb);
    std::printf("receive_rss_growth_at_cap_mb: %.1f\n", capped.rssAtCapMb);
    std::printf("receive_rss_growth_after_cap_mb: %.1f\n", capped.rssGrowthMb - capped.rssAtCapMb);
    std::printf("peak_rss_mb: %.1f\n", PeakRssMb());
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
    std::thread producer = Producer(&box, text, text.size(), probe, stop, 8 * kDelivery);
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

// A pty pair in raw mode; `total` bytes of `text` go into its master from a thread.
struct PtyFlood {
    explicit PtyFlood(const std::string& text, std::size_t total) : text_(text), total_(total) {
        int master = -1, slave = -1;
        termios raw{};
        ::cfmakeraw(&raw);
        char name[256] = {};
        if (::openpty(&master, &slave, name, &raw, nullptr) != 0) std::abort();
        master_.Reset(master);
        slave_.Reset(slave);
        slaveName = name;
    }
    ~PtyFlood() {
        if (writer_.joinable()) writer_.join();
    }
    void Start() {
        writer_ = std::thread([this] {
            for (std::size_t at = 0; at < total_;) {
                const std::size_t from = at % text_.size();
                const std::size_t n = std::min(total_ - at, text_.size() - from);
                const ssize_t done = ::write(master_.Get(), text_.data() + from, n);
                if (done <= 0) break;
                at += static_cast<std::size_t>(done);
            }
        });
    }
    int Slave() const { return slave_.Get(); }
    std::string slaveName;

  private:
    const std::string& text_;
    const std::size_t total_;
    velkaro::UniqueFd master_;
    velkaro::UniqueFd slave_;
    std::thread writer_;
};

// The fastest a reader could go: read() of 64 KB in a loop until everything has arrived.
double CatMbPerS(const std::string& text) {
    PtyFlood flood(text, kSerialBytes);
    std::vector<char> buffer(64 * 1024);
    QElapsedTimer clock;
    clock.start();
    flood.Start();
    for (std::size_t got = 0; got < kSerialBytes;) {
        const ssize_t n = ::read(flood.Slave(), buffer.data(), buffer.size());
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    return kSerialBytes / 1048576.0 / (clock.nsecsElapsed() / 1e9);
}

// The same bytes through the serial port's reader and the window into the receive box.
double SerialMbPerS(const std::string& text) {
    PtyFlood flood(text, kSerialBytes);
    char folder[] = "/tmp/velkaro-bench-XXXXXX";
    if (!::mkdtemp(folder)) std::abort();
    std::filesystem::create_symlink(flood.slaveName, std::filesystem::path(folder) / "ttyS0");
    double mbPerS = 0;
    {
        QuietUi ui;
        DialogEnvironment environment;
        environment.charset = "UTF-8";
        environment.deviceFolder = folder;
        CVelkaroDlg dialog(ui, environment);
        dialog.show();
        Probe probe(&dialog, false);
        dialog.OnBnClickedOpenPort();
        if (!dialog.PortOpen()) std::fprintf(stderr, "the pty did not open as COM1\n");
        probe.Start();
        QElapsedTimer clock;
        clock.start();
        flood.Start();
        WaitAsleep([&] { return probe.consumed >= kSerialBytes; });
        dialog.Receiver().Flush();
        mbPerS = kSerialBytes / 1048576.0 / (clock.nsecsElapsed() / 1e9);
        dialog.ClosePorts();
    }
    std::filesystem::remove_all(folder);
    return mbPerS;
}

// The machine may be shared: the best of five rounds of each stands for what it can do.
void FloodSerial(const std::string& text) {
    double cat = 0, ours = 0;
    for (int round = 0; round < 5; ++round) {
        cat = std::max(cat, CatMbPerS(text));
        ours = std::max(ours, SerialMbPerS(text));
    }
    std::printf("cat_mb_per_s: %.1f\n", cat);
    std::printf("serial_receive_mb_per_s: %.1f\n", ours);
    std::printf("serial_receive_ratio_vs_cat: %.2f\n", ours / cat);
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
    if (std::getenv("VELKARO_BENCH_SERIAL_ONLY")) {  // for work on the serial reader
        FloodSerial(text);
        return 0;
    }
    FloodCapped(text);  // first, so that no memory freed by an earlier flood hides its growth
    QElapsedTimer clock;
    clock.start();
    FloodOurs(text);
    const double ours = 2 * kFloodBytes / 1048576.0 / (clock.nsecsElapsed() / 1e9);
    FloodNaive(text, ours);
    FloodSerial(text);
    if (argc < 2 || std::string(argv[1]) != "--no-tcp") FloodTcp();
    return 0;
}
