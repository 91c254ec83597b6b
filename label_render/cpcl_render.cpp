#include "label_render/cpcl_render.h"

#include <QRegularExpression>
#include <QSet>

#include "label_render/label_fields.h"
#include "label_render/line_commands.h"

namespace velkaro::label {
namespace {

const QSet<QString>& QuietCommands() {
    static const QSet<QString> commands{"FORM",           "END",
                                        "ABORT",          "CENTER",
                                        "LEFT",           "RIGHT",
                                        "SETMAG",         "SETBOLD",
                                        "CONTRAST",       "SPEED",
                                        "TONE",           "JOURNAL",
                                        "SETFF",          "SETSP",
                                        "PREFEED",        "POSTFEED",
                                        "PRE-TENSION",    "POST-TENSION",
                                        "COUNT",          "NO-PACE",
                                        "PACE",           "WAIT",
                                        "ON-FEED",        "ON-OUT-OF-PAPER",
                                        "BEEP",           "UNDERLINE",
                                        "COUNTRY",        "ENCODING",
                                        "SET-TOF",        "UTILITIES",
                                        "PRINT-CONTROL",  "BAR-SENSE",
                                        "GAP-SENSE",      "MULTILINE",
                                        "ENDML",          "IN-INCHES",
                                        "IN-CENTIMETERS", "IN-MILLIMETERS",
                                        "IN-DOTS",        "TIMEOUT",
                                        "LABEL"};
    return commands;
}

struct CpclFont {
    int width, height;
};

CpclFont FontSize(int font, int size) {
    static const CpclFont fonts[] = {{8, 9},   {13, 48}, {12, 20}, {10, 22},
                                     {24, 47}, {12, 24}, {14, 27}, {12, 24}};
    const CpclFont base = fonts[std::clamp(font, 0, 7)];
    size = std::clamp(size, 0, 7);
    return {base.width * std::max(1, (size + 1) / 2), base.height * (size + 1)};
}

double Ratio(int code) {
    if (code >= 20 && code <= 30) return code / 10.0;
    static const double ratios[] = {1.5, 2.0, 2.5, 3.0, 3.5};
    return ratios[std::clamp(code, 0, 4)];
}

class CpclReader {
  public:
    explicit CpclReader(JobContext& context)
        : m_context(context),
          m_size(context.DefaultSize()),
          m_canvas(m_size.width, m_size.height) {}

    void Run() {
        for (const CommandLine& line : SplitLines(m_context.job)) Line(line);
        if (m_canvas.Drawn()) m_context.EmitLabel(m_canvas, false);
    }

  private:
    void Line(const CommandLine& line);
    void Text(const QStringList& words, int turns, const QString& rest);
    void Barcode(const QStringList& words, int turns, const QString& data, const CommandLine& line);
    void StartBlock(const QStringList& words, int turns, const CommandLine& line);
    void EndBlock();
    QPointF Point(const QStringList& words, int index) const {
        return QPointF(std::clamp(ParseInt(words.value(index), 0), -32000, 32000) + m_offset,
                       std::clamp(ParseInt(words.value(index + 1), 0), -32000, 32000));
    }
    void NotUnderstood(const CommandLine& line) {
        m_context.NotUnderstood(QString::fromLatin1(line.text.trimmed().left(20)), line.offset,
                                static_cast<std::size_t>(line.text.size()));
    }

    JobContext& m_context;
    LabelSize m_size;
    LabelCanvas m_canvas;
    int m_offset = 0;
    bool m_barcodeText = false;
    int m_barcodeTextFont = 7, m_barcodeTextSize = 0, m_barcodeTextOffset = 5;
    // A QR or PDF417 barcode whose data lines follow its command.
    bool m_inBlock = false;
    BarcodeRequest m_block;
    Placement m_blockPlacement;
    QByteArray m_blockData;
    QByteArray m_blockEnd;
    CommandLine m_blockLine;
};

void CpclReader::Line(const CommandLine& line) {
    const QString text = QString::fromLatin1(line.text);
    const QString trimmed = text.trimmed();
    if (m_inBlock) {
        if (trimmed.toUpper() == QString::fromLatin1(m_blockEnd)) {
            EndBlock();
        } else {
            if (!m_blockData.isEmpty()) m_blockData.append('\n');
            m_blockData.append(line.text);
        }
        return;
    }
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';'))) return;
    // Status queries and the printer's ZPL-style tilde commands act at once, drawing nothing.
    if (line.text.startsWith('\x1b') || trimmed.startsWith(QLatin1Char('~'))) return;
    const QStringList words = trimmed.split(QRegularExpression(QStringLiteral("\\s+")));
    const QString name = words.value(0).toUpper();
    if (name == QLatin1String("!")) {
        if (words.value(1).toUpper() == QLatin1String("U1") ||
            words.value(1).toUpper() == QLatin1String("U")) {
            return;  // utility commands (setvar, getvar) for the printer itself
        }
        m_canvas.Clear();
        m_offset = std::clamp(ParseInt(words.value(1), 0), 0, 32000);
        const int height = ParseInt(words.value(4), 0);
        if (height > 0) {
            m_size = BoundedSize(m_size.width, std::min(height, 32000));
            m_canvas.Resize(m_size.width, m_size.height);
        }
        return;
    }
    // Everything after the command word, for text and barcode data that may hold spaces.
    auto after = [&](int count) {
        QRegularExpression pattern(QStringLiteral("^\\s*(?:\\S+\\s+){%1}").arg(count));
        const QRegularExpressionMatch match = pattern.match(text);
        return match.hasMatch() ? text.mid(match.capturedLength()) : QString();
    };
    if (name == QLatin1String("TEXT") || name == QLatin1String("T")) {
        Text(words, 0, after(5));
    } else if (name == QLatin1String("TEXT90") || name == QLatin1String("T90") ||
               name == QLatin1String("VTEXT") || name == QLatin1String("VT")) {
        Text(words, 3, after(5));
    } else if (name == QLatin1String("TEXT180") || name == QLatin1String("T180")) {
        Text(words, 2, after(5));
    } else if (name == QLatin1String("TEXT270") || name == QLatin1String("T270")) {
        Text(words, 1, after(5));
    } else if (name == QLatin1String("BARCODE") || name == QLatin1String("B") ||
               name == QLatin1String("VBARCODE") || name == QLatin1String("VB")) {
        const int turns = name.startsWith(QLatin1Char('V')) ? 3 : 0;
        const QString type = words.value(1).toUpper();
        if (type == QLatin1String("QR") || type == QLatin1String("PDF-417")) {
            StartBlock(words, turns, line);
        } else {
            Barcode(words, turns, after(7), line);
        }
    } else if (name == QLatin1String("BARCODE-TEXT") || name == QLatin1String("BT")) {
        m_barcodeText = words.value(1).toUpper() != QLatin1String("OFF");
        if (m_barcodeText) {
            m_barcodeTextFont = ParseInt(words.value(1), 7);
            m_barcodeTextSize = ParseInt(words.value(2), 0);
            m_barcodeTextOffset = std::clamp(ParseInt(words.value(3), 5), 0, 1000);
        }
    } else if (name == QLatin1String("BOX")) {
        const QRectF box = QRectF(Point(words, 1), Point(words, 3)).normalized();
        Placement placement;
        placement.origin = box.topLeft();
        DrawBox(m_canvas, box.width(), box.height(),
                std::clamp(ParseInt(words.value(5), 1), 1, 32000), 0, placement, Ink::Black);
    } else if (name == QLatin1String("LINE") || name == QLatin1String("L") ||
               name == QLatin1String("INVERSE-LINE") || name == QLatin1String("IL")) {
        const Ink ink = name.startsWith(QLatin1Char('I')) ? Ink::Invert : Ink::Black;
        DrawLine(m_canvas, Point(words, 1), Point(words, 3),
                 std::clamp(ParseInt(words.value(5), 1), 1, 32000), ink);
    } else if (name == QLatin1String("PAGE-WIDTH") || name == QLatin1String("PW")) {
        const int width = ParseInt(words.value(1), 0);
        if (width > 0) {
            m_size = BoundedSize(std::min(width, 32000), m_size.height);
            m_canvas.Resize(m_size.width, m_size.height);
        }
    } else if (name == QLatin1String("PRINT")) {
        m_context.EmitLabel(m_canvas, false);
    } else if (!QuietCommands().contains(name)) {
        NotUnderstood(line);
    }
}

void CpclReader::Text(const QStringList& words, int turns, const QString& rest) {
    const CpclFont font = FontSize(ParseInt(words.value(1), 0), ParseInt(words.value(2), 0));
    const TextStyle style = MonospaceText(font.height, font.width - 2, 2);
    Placement placement;
    placement.origin = Point(words, 3);
    placement.anchorTopLeft = true;
    placement.quarterTurns = turns;
    DrawTextLine(m_canvas, style, rest, placement, Ink::Black);
}

void CpclReader::Barcode(const QStringList& words, int turns, const QString& data,
                         const CommandLine& line) {
    const QString type = words.value(1).toUpper();
    BarcodeRequest request;
    request.data = data.toLatin1();
    request.narrow = std::clamp(ParseInt(words.value(2), 1), 1, 100);
    request.wide =
        std::clamp(static_cast<int>(request.narrow * Ratio(ParseInt(words.value(3), 1)) + 0.5),
                   request.narrow, 350);
    request.height = std::clamp(ParseInt(words.value(4), 50), 1, 32000);
    if (type == QLatin1String("128") || type == QLatin1String("UCCEAN128")) {
        request.kind = Symbology::Code128;
    } else if (type == QLatin1String("39") || type == QLatin1String("39C") ||
               type == QLatin1String("F39") || type == QLatin1String("F39C")) {
        request.kind = Symbology::Code39;
        request.checkDigit = type.endsWith(QLatin1Char('C'));
    } else if (type == QLatin1String("93")) {
        request.kind = Symbology::Code93;
    } else if (type == QLatin1String("I2OF5") || type == QLatin1String("I2OF5C")) {
        request.kind = Symbology::Interleaved2of5;
        request.checkDigit = type.endsWith(QLatin1Char('C'));
    } else if (type.startsWith(QLatin1String("CODABAR"))) {
        request.kind = Symbology::Codabar;
    } else if (type == QLatin1String("EAN13")) {
        request.kind = Symbology::Ean13;
    } else if (type == QLatin1String("EAN8")) {
        request.kind = Symbology::Ean8;
    } else if (type.startsWith(QLatin1String("UPCA"))) {
        request.kind = Symbology::UpcA;
    } else if (type.startsWith(QLatin1String("UPCE"))) {
        request.kind = Symbology::UpcE;
    } else {
        NotUnderstood(line);
        return;
    }
    const BarcodeDrawing barcode = DrawBarcode(request);
    if (!barcode.ok) {
        NotUnderstood(line);
        return;
    }
    Placement placement;
    placement.origin = Point(words, 5);
    placement.anchorTopLeft = true;
    placement.quarterTurns = turns;
    TextStyle textStyle;
    if (m_barcodeText) {
        const CpclFont font = FontSize(m_barcodeTextFont, m_barcodeTextSize);
        textStyle = MonospaceText(font.height, font.width - 2, 2);
    }
    DrawBarcodeField(m_canvas, barcode,
                     m_barcodeText ? Interpretation::Below : Interpretation::None, textStyle,
                     placement, Ink::Black);
}

void CpclReader::StartBlock(const QStringList& words, int turns, const CommandLine& line) {
    m_block = BarcodeRequest{};
    const bool qr = words.value(1).toUpper() == QLatin1String("QR");
    m_block.kind = qr ? Symbology::Qr : Symbology::Pdf417;
    m_blockEnd = qr ? "ENDQR" : "ENDPDF";
    m_blockPlacement = Placement{};
    m_blockPlacement.origin = Point(words, 2);
    m_blockPlacement.anchorTopLeft = true;
    m_blockPlacement.quarterTurns = turns;
    m_block.narrow = qr ? 6 : 2;
    m_block.height = 6;
    // Options: a keyword followed by its value ("U 6", "XD 3", "YD 12", "C 3", "S 2").
    for (int i = 4; i + 1 < words.size(); ++i) {
        const QString key = words[i].toUpper();
        const int value = ParseInt(words[i + 1], -1);
        if (value < 0) continue;
        if (key == QLatin1String("U") || key == QLatin1String("XD"))
            m_block.narrow = std::clamp(value, 1, 32);
        if (key == QLatin1String("YD")) m_block.height = std::clamp(value, 1, 255);
        if (key == QLatin1String("C")) m_block.pdfColumns = std::clamp(value, 1, 30);
        if (key == QLatin1String("S")) m_block.pdfSecurity = std::clamp(value, 0, 8);
    }
    m_blockData.clear();
    m_blockLine = line;
    m_inBlock = true;
}

void CpclReader::EndBlock() {
    m_inBlock = false;
    QByteArray data = m_blockData;
    if (m_block.kind == Symbology::Qr) {
        // "MA,data": error level, input mode, a comma, then the data.
        const char level = data.isEmpty() ? 'M' : data[0];
        m_block.qrErrorLevel = level == 'L' ? 1 : level == 'Q' ? 3 : level == 'H' ? 4 : 2;
        const int comma = data.indexOf(',');
        if (comma >= 0 && comma <= 3) data = data.mid(comma + 1);
    }
    m_block.data = data;
    const BarcodeDrawing barcode = DrawBarcode(m_block);
    if (!barcode.ok) {
        NotUnderstood(m_blockLine);
        return;
    }
    DrawBarcodeField(m_canvas, barcode, Interpretation::None, TextStyle(), m_blockPlacement,
                     Ink::Black);
}

}  // namespace

void RenderCpcl(JobContext& context) {
    CpclReader reader(context);
    reader.Run();
}

}  // namespace velkaro::label
