// How long the preview takes to draw a label at 8 dots/mm on 4 x 6 in (goal: 30 ms each):
//   1. The ZPL "条码打印" sample (a Code 128 barcode with its interpretation line).
//   2. A shipping label of 40 fields: text in font 0 and the bitmap fonts, boxes, lines, a
//      field block, Code 128, Code 39, a QR code and a PDF417.
// Baseline, measured in the same run: a label with a single dot (allocating, clearing and
// converting the label image), so the ratios show what the fields themselves cost.
// Each figure is printed as "name: value"; times are medians of repeated runs.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "label_render/label_render.h"
#include "samples/sample_commands.h"

using namespace velkaro;

namespace {

std::string ShippingLabel() {
    std::string job = "^XA^CI28^PW812^LL1218^LH0,0\n";
    job += "^FO20,20^GB772,1178,4^FS\n";  // 1 frame
    job += "^FO20,200^GB772,0,3^FS\n";    // 2 rules
    job += "^FO20,420^GB772,0,3^FS\n";    // 3
    job += "^FO20,760^GB772,0,3^FS\n";    // 4
    job += "^FO400,20^GB0,180,3^FS\n";    // 5
    const char* from[] = {"FROM: Velkaro Logistics", "Unit 7, Harbour Road", "Dock 14",
                          "Rotterdam 3011 AA", "NL"};
    for (int i = 0; i < 5; ++i) {  // 6-10
        job += "^FO40," + std::to_string(40 + i * 30) + "^ADN,18,10^FD" + from[i] + "^FS\n";
    }
    job += "^FO420,40^A0N,40,40^FDPRIORITY^FS\n";          // 11
    job += "^FO420,100^A0N,30,30^FDWeight: 12.4 kg^FS\n";  // 12
    job += "^FO420,140^A0N,30,30^FDPieces: 1 of 3^FS\n";   // 13
    const char* to[] = {"SHIP TO:",
                        "Jane Q. Receiver",
                        "Acme Widgets Ltd.",
                        "221B Long Street, Floor 3",
                        "Springfield IL 62704",
                        "UNITED STATES"};
    for (int i = 0; i < 6; ++i) {  // 14-19
        job += "^FO40," + std::to_string(220 + i * 32) + "^A0N,32,28^FD" + to[i] + "^FS\n";
    }
    job += "^FO40,440^BY3^BCN,140,Y,N,N^FD>;420627041234^FS\n";                      // 20
    job += "^FO40,660^AEN,28,15^FDTRACKING^FS\n";                                    // 21
    job += "^FO260,660^A0N,40,40^FD1Z 999 AA1 01 2345 6784^FS\n";                    // 22
    job += "^FO40,780^BY2,3.0^B3N,N,100,Y^FDPKG12345^FS\n";                          // 23
    job += "^FO560,780^BQN,2,5^FDMA,https://track.example/1Z999AA10123456784^FS\n";  // 24
    job += "^FO40,940^BY2^B7N,6,3,6^FDVelkaro shipping manifest 0001^FS\n";          // 25
    job +=
        "^FO40,1100^FB730,2,4,C^A0N,26,24^FDHandle with care. Keep dry. "
        "This side up.^FS\n";  // 26
    const char* notes[] = {"REF: PO-55821", "DEPT: 44",     "INV: 2026-1211", "ROUTE: NL-US-7",
                           "SVC: EXPRESS",  "BILL: SENDER", "DIM: 40x30x20",  "HS: 8471.30",
                           "LOT: A17",      "CHK: OK",      "ZONE: 5",        "SORT: 19",
                           "BAY: 3",        "SEQ: 0040"};
    for (int i = 0; i < 14; ++i) {  // 27-40
        job += "^FO" + std::to_string(420 + (i % 2) * 190) + "," +
               std::to_string(440 + (i / 2) * 30) + "^ABN,11,7^FD" + notes[i] + "^FS\n";
    }
    job += "^XZ\n";
    return job;
}

double MedianMs(const std::string& job, const label::RenderOptions& options, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs + 2; ++i) {
        QElapsedTimer timer;
        timer.start();
        const label::RenderResult result = label::Render(job, options);
        const double ms = timer.nsecsElapsed() / 1e6;
        if (result.labels.size() != 1 || !result.notUnderstood.empty()) {
            std::fprintf(stderr, "unexpected result for a benchmark job\n");
            std::exit(1);
        }
        if (i >= 2) times.push_back(ms);  // the first runs load fonts and warm caches
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    label::RenderOptions options;  // 8 dots/mm, 4 x 6 in
    const int runs = 21;
    const double baseline = MedianMs("^XA^FO0,0^GB1,1,1^FS^XZ", options, runs);
    const double sample = MedianMs(SampleCommands()[1].bytes, options, runs);
    const double shipping = MedianMs(ShippingLabel(), options, runs);
    std::printf("preview_ms_label_blank_baseline: %.2f\n", baseline);
    std::printf("preview_ms_label_zpl_sample2: %.2f\n", sample);
    std::printf("preview_ms_label_shipping40: %.2f\n", shipping);
    std::printf("preview_ratio_zpl_sample2_vs_blank: %.2f\n", sample / baseline);
    std::printf("preview_ratio_shipping40_vs_blank: %.2f\n", shipping / baseline);
    std::printf("preview_ms_label_goal: 30\n");
    return sample <= 30 && shipping <= 30 ? 0 : 1;
}
