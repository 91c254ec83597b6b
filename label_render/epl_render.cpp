#include "label_render/epl_render.h"

#include <QSet>

#include "label_render/label_fields.h"
#include "label_render/line_commands.h"

namespace velkaro::label {
namespace {

struct EplFont {
    int width, height;
};

EplFont FontSize(const QString& name, bool highResolution) {
    static const EplFont low[] = {{8, 12}, {10, 16}, {12, 20}, {14, 24}, {32, 48}};
    static const EplFont high[] = {{12, 20}, {16, 28}, {20, 36}, {24, 44}, {48, 80}};
    const int index = std::clamp(ParseInt(name, 3), 1, 5) - 1;
    return highResolution ? high[index] : low[index];
}

// Two-letter command families; every other command is one letter.
bool TwoLetterCommand(char first) {
    return first == 'L' || first == 'Z' || first == 'O' || first == 'J' || first == 'G' ||
           first == 'F' || first == 'o';
}

const QSet<QString>& QuietCommands() {
    static const QSet<QString> commands{
        "U",      "UN", "US", "UP", "UQ", "UI", "UA", "UE", "UF", "UM", "UB", "UG",
        "I",      "S",  "D",  "O",  "OD", "ON", "OE", "OF", "OC", "OH", "OP", "OS",
        "JF",     "JB", "JC", "W",  "H",  "ZT", "M",  "Y",  "C",  "V",  "?",  "FK",
        "FS",     "FE", "FI", "FR", "GW", "GK", "GI", "GG", "GM", "EK", "EI", "ES",
        "oR",     "oH", "oE", "oW", "oB", "oM", "xa", "i",  "r",  "&",  "^@", "^default",
        "AUTOFR", "TT", "TS", "TD", "k",  "K",  "ZB"};
    return commands;
}

class EplReader {
  public:
    explicit EplReader(JobContext& context)
        : m_context(context),
          m_size(context.DefaultSize()),
          m_canvas(m_size.width, m_size.height) {}

    void Run() {
        for (const CommandLine& line : SplitLines(m_context.job)) Line(line);
        if (m_canvas.Drawn()) m_context.EmitLabel(m_canvas, m_upsideDown);
    }

  private:
    void Line(const CommandLine& line);
    void Text(const QStringList& p, const QString& data);
    void Barcode(const QStringList& p, const QByteArray& data, const CommandLine& line);
    void Barcode2D(const QStringList& p, const QByteArray& data, const CommandLine& line);

    Placement At(const QStringList& p, int turnIndex) const {
        Placement placement;
        placement.origin = QPointF(std::clamp(ParseInt(p.value(0), 0), -32000, 32000),
                                   std::clamp(ParseInt(p.value(1), 0), -32000, 32000)) +
                           m_reference;
        placement.anchorTopLeft = true;
        placement.quarterTurns = turnIndex >= 0 ? ParseInt(p.value(turnIndex), 0) & 3 : 0;
        return placement;
    }

    JobContext& m_context;
    LabelSize m_size;
    LabelCanvas m_canvas;
    QPointF m_reference;
    bool m_upsideDown = false;
};

void EplReader::Line(const CommandLine& line) {
    const QByteArray& text = line.text;
    if (text.trimmed().isEmpty() || text.startsWith(';')) return;
    if (text.startsWith('\x1b')) return;  // status queries
    int nameLength = TwoLetterCommand(text[0]) && text.size() > 1 &&
                             std::isalpha(static_cast<unsigned char>(text[1]))
                         ? 2
                         : 1;
    if (text.startsWith("^@") || text.startsWith("^default")) return;
    const QString name = QString::fromLatin1(text.left(nameLength));
    QByteArray quoted;
    const QStringList p = SplitEplParams(text.mid(nameLength), &quoted);
    const QString data = QString::fromLatin1(quoted);
    if (name == QLatin1String("N")) {
        m_canvas.Clear();
    } else if (name == QLatin1String("q")) {
        m_size =
            BoundedSize(std::clamp(ParseInt(p.value(0), m_size.width), 1, 32000), m_size.height);
        m_canvas.Resize(m_size.width, m_size.height);
    } else if (name == QLatin1String("Q")) {
        const int length = ParseInt(p.value(0), 0);
        if (length > 0) {
            m_size = BoundedSize(m_size.width, std::min(length, 32000));
            m_canvas.Resize(m_size.width, m_size.height);
        }
    } else if (name == QLatin1String("R")) {
        m_reference = QPointF(std::clamp(ParseInt(p.value(0), 0), 0, 32000),
                              std::clamp(ParseInt(p.value(1), 0), 0, 32000));
    } else if (name == QLatin1String("ZB") || name == QLatin1String("ZT")) {
        m_upsideDown = name == QLatin1String("ZB");
    } else if (name == QLatin1String("P")) {
        m_context.EmitLabel(m_canvas, m_upsideDown);
    } else if (name == QLatin1String("A")) {
        Text(p, data);
    } else if (name == QLatin1String("B")) {
        Barcode(p, quoted, line);
    } else if (name == QLatin1String("b")) {
        Barcode2D(p, quoted, line);
    } else if (name == QLatin1String("X")) {
        // X x1,y1,thickness,x2,y2: a box whose lines grow inward.
        const QPointF from = At(p, -1).origin;
        const QPointF to = QPointF(std::clamp(ParseInt(p.value(3), 0), -32000, 32000),
                                   std::clamp(ParseInt(p.value(4), 0), -32000, 32000)) +
                           m_reference;
        const QRectF box = QRectF(from, to).normalized();
        Placement placement;
        placement.origin = box.topLeft();
        DrawBox(m_canvas, box.width(), box.height(), std::clamp(ParseInt(p.value(2), 1), 1, 32000),
                0, placement, Ink::Black);
    } else if (name == QLatin1String("LO") || name == QLatin1String("LE") ||
               name == QLatin1String("LW")) {
        Placement placement = At(p, -1);
        const Ink ink = name == QLatin1String("LO")   ? Ink::Black
                        : name == QLatin1String("LE") ? Ink::Invert
                                                      : Ink::White;
        const int width = std::clamp(ParseInt(p.value(2), 1), 1, 32000);
        const int height = std::clamp(ParseInt(p.value(3), 1), 1, 32000);
        m_canvas.Begin(QSizeF(width, height), placement, ink);
        m_canvas.FillRect(QRectF(0, 0, width, height));
    } else if (name == QLatin1String("LS")) {
        const QPointF from = At(p, -1).origin;
        const QPointF to = QPointF(std::clamp(ParseInt(p.value(3), 0), -32000, 32000),
                                   std::clamp(ParseInt(p.value(4), 0), -32000, 32000)) +
                           m_reference;
        DrawLine(m_canvas, from, to, std::clamp(ParseInt(p.value(2), 1), 1, 32000), Ink::Black);
    } else if (!QuietCommands().contains(name) &&
               !QuietCommands().contains(QString::fromLatin1(text.left(1)))) {
        m_context.NotUnderstood(QString::fromLatin1(text.left(20)), line.offset,
                                static_cast<std::size_t>(text.size()));
    }
}

void EplReader::Text(const QStringList& p, const QString& data) {
    const EplFont font = FontSize(p.value(3), m_context.DotsPerMm() >= 12);
    const int across = std::clamp(ParseInt(p.value(4), 1), 1, 8);
    const int down = std::clamp(ParseInt(p.value(5), 1), 1, 9);
    const TextStyle style =
        MonospaceText(font.height * down, (font.width - 2) * across, 2 * across);
    const bool reverse = p.value(6).startsWith(QLatin1Char('R'));
    DrawTextLine(m_canvas, style, data, At(p, 2), Ink::Black, reverse);
}

void EplReader::Barcode(const QStringList& p, const QByteArray& data, const CommandLine& line) {
    const QString type = p.value(3).toUpper();
    BarcodeRequest request;
    request.data = data;
    request.narrow = std::clamp(ParseInt(p.value(4), 2), 1, 100);
    request.wide = std::clamp(ParseInt(p.value(5), request.narrow * 2), request.narrow, 300);
    request.height = std::clamp(ParseInt(p.value(6), 50), 1, 32000);
    if (type.startsWith(QLatin1Char('1')) || type == QLatin1String("0")) {
        request.kind = Symbology::Code128;
    } else if (type == QLatin1String("3") || type == QLatin1String("3C")) {
        request.kind = Symbology::Code39;
        request.checkDigit = type == QLatin1String("3C");
    } else if (type == QLatin1String("9")) {
        request.kind = Symbology::Code93;
    } else if (type == QLatin1String("2") || type == QLatin1String("2C") ||
               type == QLatin1String("2D")) {
        request.kind = Symbology::Interleaved2of5;
        request.checkDigit = type != QLatin1String("2");
    } else if (type == QLatin1String("K")) {
        request.kind = Symbology::Codabar;
    } else if (type.startsWith(QLatin1String("E3"))) {
        request.kind = Symbology::Ean13;
    } else if (type.startsWith(QLatin1String("E8"))) {
        request.kind = Symbology::Ean8;
    } else if (type.startsWith(QLatin1String("UA"))) {
        request.kind = Symbology::UpcA;
    } else if (type.startsWith(QLatin1String("UE"))) {
        request.kind = Symbology::UpcE;
    } else {
        m_context.NotUnderstood(QStringLiteral("B (%1)").arg(type), line.offset,
                                static_cast<std::size_t>(line.text.size()));
        return;
    }
    const BarcodeDrawing barcode = DrawBarcode(request);
    if (!barcode.ok) {
        m_context.NotUnderstood(QStringLiteral("B (%1)").arg(barcode.error), line.offset,
                                static_cast<std::size_t>(line.text.size()));
        return;
    }
    const Interpretation text =
        p.value(7).startsWith(QLatin1Char('B')) ? Interpretation::Below : Interpretation::None;
    DrawBarcodeField(m_canvas, barcode, text, InterpretationStyle(request.narrow), At(p, 2),
                     Ink::Black);
}

void EplReader::Barcode2D(const QStringList& p, const QByteArray& data, const CommandLine& line) {
    const QString type = p.value(2).toUpper();
    BarcodeRequest request;
    request.data = data;
    request.narrow = 3;
    // Options after the type: a letter and its value each, in any order, commas optional.
    QString options = p.mid(3).join(QLatin1Char(','));
    auto option = [&](QChar letter) -> QString {
        for (const QString& part : options.split(QLatin1Char(','))) {
            const QString item = part.trimmed();
            if (item.size() > 1 && item[0] == letter) return item.mid(1);
        }
        return {};
    };
    if (type == QLatin1String("Q")) {
        request.kind = Symbology::Qr;
        request.narrow = std::clamp(ParseInt(option('s'), 3), 1, 99);
        const QString level = option('e').toUpper();
        request.qrErrorLevel = level == "L" ? 1 : level == "Q" ? 3 : level == "H" ? 4 : 2;
    } else if (type == QLatin1String("D")) {
        request.kind = Symbology::DataMatrix;
        request.narrow = std::clamp(ParseInt(option('h'), 3), 1, 99);
    } else if (type == QLatin1String("P")) {
        request.kind = Symbology::Pdf417;
        request.narrow = std::clamp(ParseInt(option('x'), 2), 1, 99);
        request.height = std::clamp(ParseInt(option('y'), request.narrow * 3), 1, 999);
    } else if (type == QLatin1String("A")) {
        request.kind = Symbology::Aztec;
        request.narrow = std::clamp(ParseInt(option('m'), 3), 1, 99);
    } else {
        m_context.NotUnderstood(QStringLiteral("b (%1)").arg(type), line.offset,
                                static_cast<std::size_t>(line.text.size()));
        return;
    }
    const BarcodeDrawing barcode = DrawBarcode(request);
    if (!barcode.ok) {
        m_context.NotUnderstood(QStringLiteral("b (%1)").arg(barcode.error), line.offset,
                                static_cast<std::size_t>(line.text.size()));
        return;
    }
    DrawBarcodeField(m_canvas, barcode, Interpretation::None, TextStyle(), At(p, -1), Ink::Black);
}

}  // namespace

void RenderEpl(JobContext& context) {
    EplReader reader(context);
    reader.Run();
}

}  // namespace velkaro::label
