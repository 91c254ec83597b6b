// Times the status window's passive watch over received data against the receive box's own
// text decoding of the same data, both fed 64 KB deliveries. Two streams: label data with no
// replies in it, and a printer answering ~HS and ~HQES back to back (every byte in a frame).
#include <chrono>
#include <cstdio>
#include <string>

#include "app/locale_text.h"
#include "printer_language/status_stream.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kStreamSize = 32u << 20;
constexpr std::size_t kDelivery = 64u << 10;

std::string Repeat(const std::string& unit) {
    std::string stream;
    stream.reserve(kStreamSize + unit.size());
    while (stream.size() < kStreamSize) stream += unit;
    return stream;
}

template <typename Feed>
double Seconds(const std::string& stream, Feed feed) {
    const auto start = Clock::now();
    for (std::size_t at = 0; at < stream.size(); at += kDelivery)
        feed(stream.data() + at, std::min(kDelivery, stream.size() - at));
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Measure(const char* name, const std::string& stream) {
    velkaro::ReceivedTextDecoder text("UTF-8");
    qsizetype chars = 0;
    const double textSeconds = Seconds(stream, [&](const char* data, std::size_t size) {
        chars += text.Decode(data, size).size();
    });
    velkaro::printer_language::StatusStream status;
    std::size_t replies = 0;
    const double statusSeconds = Seconds(stream, [&](const char* data, std::size_t size) {
        replies += status.Feed(std::string_view(data, size)).size();
    });
    std::printf("status_feed_%s_ratio_vs_text_decode: %.3f\n", name, statusSeconds / textSeconds);
    std::printf("status_feed_%s_mb_per_s: %.0f\n", name, kStreamSize / 1048576.0 / statusSeconds);
    std::fprintf(stderr, "%s: %lld chars, %zu replies\n", name, static_cast<long long>(chars),
                 replies);
}

}  // namespace

int main() {
    Measure("labels", Repeat("^XA^FO50,50^A0N,40,40^FDVelkaro 12345^FS^BY2^FO50,120^BCN,80,Y,N,N"
                             "^FD0123456789^FS^XZ\r\n"));
    Measure("replies",
            Repeat("\x02"
                   "030,1,1,1225,000,0,0,0,000,0,0,0\x03\r\n\x02"
                   "001,0,0,1,1,2,6,0,00000100,1,000\x03\r\n\x02"
                   "1234,0\x03\r\n\x02PRINTER STATUS\r\nERRORS:   1 00000000 00000001\r\n"
                   "WARNINGS: 0 00000000 00000000\r\n\x03"));
    return 0;
}
