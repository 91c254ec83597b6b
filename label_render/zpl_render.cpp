#include "label_render/zpl_render.h"

#include <QPainterPath>
#include <QSet>
#include <QStringList>
#include <optional>

#include "label_render/label_fields.h"

namespace velkaro::label {
namespace {

// Commands that set up the printer or the job rather than draw: understood, nothing to show.
const QSet<QString>& QuietCommands() {
    static const QSet<QString> commands{
        "FX", "PQ", "MM", "MN", "MT", "MD", "PR", "JM", "LS", "LT", "JU", "JZ", "SZ", "PM",
        "PF", "PP", "PH", "FN", "MU", "JB", "JT", "KD", "KN", "KP", "ML", "MP", "MW", "NC",
        "NI", "PA", "SC", "SL", "SO", "SX", "TO", "WD", "FP", "FC", "FM", "HH", "HW", "HZ",
        "HT", "HF", "HG", "HV", "ID", "IL", "IM", "IS", "JJ", "JS", "JW", "MC", "MF", "MI",
        "NS", "NN", "NT", "NW", "PN", "PS", "SE", "SF", "SI", "SP", "SQ", "SR", "SS", "ST",
        "XB", "CM", "CO", "CV", "CW", "DF", "DN", "DU", "DY", "EG", "FL", "JI", "KC", "KL",
        "KV", "LF", "MA", "NB", "NP", "TB", "FE", "WA", "WF", "WL", "WP", "WR", "WS", "ZZ"};
    return commands;
}

struct BitmapFont {
    char name;
    int height, width, gap;
};

const BitmapFont* FindBitmapFont(QChar name) {
    static const BitmapFont fonts[] = {{'A', 9, 5, 1},   {'B', 11, 7, 2},  {'C', 18, 10, 2},
                                       {'D', 18, 10, 2}, {'E', 28, 15, 5}, {'F', 26, 13, 3},
                                       {'G', 60, 40, 8}, {'H', 21, 13, 6}};
    for (const BitmapFont& font : fonts) {
        if (name == QLatin1Char(font.name)) return &font;
    }
    return nullptr;
}

int QuarterTurns(QChar orientation, int fallback) {
    switch (orientation.toUpper().unicode()) {
        case 'N':
            return 0;
        case 'R':
            return 1;
        case 'I':
            return 2;
        case 'B':
            return 3;
        default:
            return fallback;
    }
}

struct Barcode {
    QString command;
    QStringList params;
    std::size_t offset = 0;
};

struct Field {
    Placement placement;
    bool haveOrigin = false;
    std::optional<QChar> font;
    int fontHeight = 0, fontWidth = 0;
    std::optional<int> turns;
    QByteArray data;
    bool haveData = false;
    std::optional<char> hexIndicator;
    bool reverse = false;
    bool block = false;
    int blockWidth = 0, blockLines = 1, blockSpacing = 0;
    QChar blockJustify = 'L';
    std::optional<Barcode> barcode;
    std::size_t offset = 0;
};

class ZplReader {
  public:
    explicit ZplReader(JobContext& context)
        : m_context(context),
          m_size(context.DefaultSize()),
          m_canvas(m_size.width, m_size.height) {}

    void Run();

  private:
    void Command(const QString& name, const QByteArray& params, std::size_t offset,
                 std::size_t length);
    void StartLabel();
    void EndLabel();
    void EnsureLabel();
    void FinishField();
    void DrawText(const Field& field);
    void DrawBarcode(const Field& field);
    void DrawGraphicField(const QStringList& params, const QByteArray& data);
    void ResizeLabel(std::optional<int> width, std::optional<int> height);
    QString DecodeData(const Field& field) const;
    Ink FieldInk(const Field& field, bool white = false) const;
    Placement FieldPlacement() const;
    int DefaultMagnification() const;

    JobContext& m_context;
    LabelSize m_size;
    LabelCanvas m_canvas;
    bool m_open = false;
    char m_caret = '^';
    char m_tilde = '~';
    Field m_field;
    QPointF m_home;
    QChar m_defaultFont = 'A';
    int m_defaultHeight = 9, m_defaultWidth = 5;
    int m_defaultTurns = 0;
    int m_moduleWidth = 2;
    double m_ratio = 3.0;
    int m_barHeight = 10;
    bool m_utf8 = false;
    bool m_labelReverse = false;
    bool m_upsideDown = false;
};

QStringList SplitParams(const QByteArray& params) {
    QString text = QString::fromLatin1(params);
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text.split(QLatin1Char(','));
}

QString Param(const QStringList& params, int index) {
    return index < params.size() ? params[index].trimmed() : QString();
}

int IntParam(const QStringList& params, int index, int fallback) {
    return ParseInt(Param(params, index), fallback);
}

QChar CharParam(const QStringList& params, int index, QChar fallback) {
    const QString value = Param(params, index);
    return value.isEmpty() ? fallback : value[0].toUpper();
}

void ZplReader::Run() {
    const std::string& job = m_context.job;
    const std::size_t n = job.size();
    std::size_t pos = 0;
    while (pos < n) {
        const char c = job[pos];
        if (c != m_caret && c != m_tilde) {
            if (c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\0') {
                ++pos;
                continue;
            }
            // Text outside any command: the printer skips it, the user wants to know.
            std::size_t end = pos;
            while (end < n && job[end] != m_caret && job[end] != m_tilde) ++end;
            std::size_t shown = end;
            while (shown > pos && std::isspace(static_cast<unsigned char>(job[shown - 1]))) --shown;
            m_context.NotUnderstood(
                QString::fromLatin1(job.data() + pos, std::min<std::size_t>(shown - pos, 20)), pos,
                shown - pos);
            pos = end;
            continue;
        }
        const char prefix = c;
        std::size_t nameEnd = pos + 1;
        QString name;
        if (nameEnd < n) {
            const char first =
                static_cast<char>(std::toupper(static_cast<unsigned char>(job[nameEnd])));
            name += QLatin1Char(first);
            ++nameEnd;
            if (!(prefix == m_caret && first == 'A') && nameEnd < n) {
                name += QLatin1Char(
                    static_cast<char>(std::toupper(static_cast<unsigned char>(job[nameEnd]))));
                ++nameEnd;
            }
        }
        std::size_t end = nameEnd;
        if (prefix == m_caret && name == QLatin1String("GF")) {
            // Binary graphic data may hold any byte: its length comes from the parameters.
            int commas = 0;
            std::size_t scan = nameEnd;
            while (scan < n && commas < 4 && job[scan] != m_caret && job[scan] != m_tilde) {
                if (job[scan] == ',') ++commas;
                ++scan;
            }
            const QStringList head = SplitParams(QByteArray(job.data() + nameEnd, scan - nameEnd));
            const QChar format = CharParam(head, 0, 'A');
            if (commas == 4 && (format == 'B' || format == 'C')) {
                const std::size_t count = std::clamp(IntParam(head, 1, 0), 0, 8 * 1024 * 1024);
                end = std::min(n, scan + count);
            }
        }
        if (end == nameEnd) {
            while (end < n && job[end] != m_caret && job[end] != m_tilde) ++end;
        }
        const QByteArray params(job.data() + nameEnd, static_cast<int>(end - nameEnd));
        if (prefix == m_tilde) {
            // Tilde commands act on the printer at once (status, calibration, downloads).
            if (name == QLatin1String("CC") && !params.isEmpty()) m_caret = params[0];
            if (name == QLatin1String("CT") && !params.isEmpty()) m_tilde = params[0];
        } else {
            Command(name, params, pos, end - pos);
        }
        pos = end;
    }
    if (m_open) EndLabel();
}

void ZplReader::StartLabel() {
    if (m_open) EndLabel();
    m_open = true;
    m_field = Field{};
    m_home = QPointF();
    m_labelReverse = false;
}

void ZplReader::EnsureLabel() {
    if (!m_open) StartLabel();
}

void ZplReader::EndLabel() {
    FinishField();
    m_open = false;
    m_context.EmitLabel(m_canvas, m_upsideDown);
}

void ZplReader::ResizeLabel(std::optional<int> width, std::optional<int> height) {
    m_size = BoundedSize(width.value_or(m_size.width), height.value_or(m_size.height));
    m_canvas.Resize(m_size.width, m_size.height);
}

Ink ZplReader::FieldInk(const Field& field, bool white) const {
    if (field.reverse || m_labelReverse) return Ink::Invert;
    return white ? Ink::White : Ink::Black;
}

Placement ZplReader::FieldPlacement() const {
    Placement placement = m_field.placement;
    placement.origin += m_home;
    return placement;
}

int ZplReader::DefaultMagnification() const {
    switch (m_context.DotsPerMm()) {
        case 6:
            return 1;
        case 12:
            return 3;
        case 24:
            return 6;
        default:
            return 2;
    }
}

QString ZplReader::DecodeData(const Field& field) const {
    QByteArray bytes = field.data;
    if (field.hexIndicator) {
        QByteArray decoded;
        for (int i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == *field.hexIndicator && i + 2 < bytes.size() + 0 &&
                std::isxdigit(static_cast<unsigned char>(bytes[i + 1])) &&
                std::isxdigit(static_cast<unsigned char>(bytes[i + 2]))) {
                decoded.append(static_cast<char>(bytes.mid(i + 1, 2).toInt(nullptr, 16)));
                i += 2;
            } else {
                decoded.append(bytes[i]);
            }
        }
        bytes = decoded;
    }
    bytes.replace('\r', QByteArray()).replace('\n', QByteArray());
    return m_utf8 ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

void ZplReader::FinishField() {
    if (m_field.haveData) {
        EnsureLabel();
        if (m_field.barcode) {
            DrawBarcode(m_field);
        } else {
            DrawText(m_field);
        }
    }
    m_field = Field{};
}

void ZplReader::DrawText(const Field& field) {
    const QChar fontName = field.font.value_or(m_defaultFont);
    int height = field.font ? field.fontHeight : m_defaultHeight;
    int width = field.font ? field.fontWidth : m_defaultWidth;
    TextStyle style;
    if (const BitmapFont* bitmap = FindBitmapFont(fontName)) {
        int high = height > 0 ? std::max(1, (height + bitmap->height / 2) / bitmap->height) : 0;
        int wide = width > 0 ? std::max(1, (width + bitmap->width / 2) / bitmap->width) : 0;
        if (high == 0) high = wide ? wide : 1;
        if (wide == 0) wide = high;
        high = std::min(high, 10);
        wide = std::min(wide, 10);
        style = MonospaceText(bitmap->height * high, bitmap->width * wide, bitmap->gap * wide);
    } else {
        if (height <= 0) height = width > 0 ? width : m_defaultHeight;
        if (width <= 0) width = height;
        style = ScalableText(std::min(height, 32000), std::min(width, 32000));
    }
    Placement placement = FieldPlacement();
    placement.quarterTurns = field.turns.value_or(m_defaultTurns);
    const QString text = DecodeData(field);
    const Ink ink = FieldInk(field);
    if (!field.block) {
        DrawTextLine(m_canvas, style, text, placement, ink);
        return;
    }
    // A field block: words wrapped into lines of the block's width, "\&" starting a new one.
    const double lineStep = style.height + field.blockSpacing;
    const double blockWidth = std::max(1, field.blockWidth);
    QStringList lines;
    for (const QString& paragraph : text.split(QStringLiteral("\\&"))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && TextWidth(style, longer) > blockWidth) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        lines << line;
    }
    const int lineCount = std::clamp(field.blockLines, 1, 9999);
    while (lines.size() > lineCount) lines.removeLast();
    const double blockHeight = lineStep * lineCount - field.blockSpacing;
    placement.localAnchor = QPointF(0, blockHeight);
    m_canvas.Begin(QSizeF(blockWidth, blockHeight), placement, ink);
    for (int i = 0; i < lines.size(); ++i) {
        const double slack = blockWidth - TextWidth(style, lines[i]);
        double x = 0;
        if (field.blockJustify == 'C') x = slack / 2;
        if (field.blockJustify == 'R') x = slack;
        m_canvas.DrawText(style, lines[i], QPointF(x, i * lineStep));
    }
}

void ZplReader::DrawBarcode(const Field& field) {
    const QStringList& p = field.barcode->params;
    const QString& command = field.barcode->command;
    const QString text = DecodeData(field);
    BarcodeRequest request;
    request.narrow = m_moduleWidth;
    request.wide = std::max(m_moduleWidth, static_cast<int>(m_moduleWidth * m_ratio + 0.5));
    request.height = m_barHeight;
    request.data = m_utf8 ? text.toUtf8() : text.toLatin1();
    int turns = QuarterTurns(CharParam(p, 0, ' '), field.turns.value_or(m_defaultTurns));
    Interpretation interpretation = Interpretation::None;
    auto linear = [&](int heightIndex, int showIndex, int aboveIndex) {
        request.height = std::max(1, IntParam(p, heightIndex, m_barHeight));
        if (CharParam(p, showIndex, 'Y') == 'Y') {
            interpretation = CharParam(p, aboveIndex, 'N') == 'Y' ? Interpretation::Above
                                                                  : Interpretation::Below;
        }
    };
    if (command == QLatin1String("BC")) {
        request.kind = Symbology::Code128;
        linear(1, 2, 3);
        // Subset invocation codes (">:" start B, ">;" start C, ...) pick the encoding, not
        // the data; the encoder chooses the shortest subsets for the same data itself.
        QByteArray data;
        for (int i = 0; i < request.data.size(); ++i) {
            if (request.data[i] == '>' && i + 1 < request.data.size()) {
                if (request.data[i + 1] == '>') data.append('>');
                ++i;
            } else {
                data.append(request.data[i]);
            }
        }
        request.data = data;
    } else if (command == QLatin1String("B3")) {
        request.kind = Symbology::Code39;
        request.checkDigit = CharParam(p, 1, 'N') == 'Y';
        linear(2, 3, 4);
    } else if (command == QLatin1String("B2")) {
        request.kind = Symbology::Interleaved2of5;
        request.checkDigit = CharParam(p, 4, 'N') == 'Y';
        linear(1, 2, 3);
    } else if (command == QLatin1String("BA")) {
        request.kind = Symbology::Code93;
        linear(1, 2, 3);
    } else if (command == QLatin1String("BE")) {
        request.kind = Symbology::Ean13;
        linear(1, 2, 3);
    } else if (command == QLatin1String("BU")) {
        request.kind = Symbology::UpcA;
        linear(1, 2, 3);
    } else if (command == QLatin1String("BQ")) {
        request.kind = Symbology::Qr;
        turns = 0;  // QR codes are only printed upright
        request.narrow = std::clamp(IntParam(p, 2, DefaultMagnification()), 1, 100);
        // Field data: error level, input mode, a comma, then the data ("QA,text").
        QByteArray data = request.data;
        const char level = data.isEmpty() ? 'Q' : data[0];
        request.qrErrorLevel = level == 'L' ? 1 : level == 'M' ? 2 : level == 'H' ? 4 : 3;
        const int comma = data.indexOf(',');
        if (comma >= 0 && comma <= 3) {
            data = data.mid(comma + 1);
            if (data.size() >= 1 && comma >= 2 && data.size() > 0 &&
                (request.data[1] == 'M' || request.data[1] == 'm')) {
                // Manual input: a mode character (and for bytes a four-digit count) first.
                const int skip = (data[0] == 'B' || data[0] == 'b') ? 5 : 1;
                data = data.mid(skip);
            }
        }
        request.data = data;
    } else if (command == QLatin1String("BX")) {
        request.kind = Symbology::DataMatrix;
        request.narrow = std::clamp(IntParam(p, 1, m_moduleWidth), 1, 100);
    } else if (command == QLatin1String("B7")) {
        request.kind = Symbology::Pdf417;
        request.height = std::clamp(IntParam(p, 1, m_moduleWidth * 3), 1, 1000);
        request.pdfSecurity = IntParam(p, 2, -1);
        request.pdfColumns = IntParam(p, 3, 0);
    } else {  // B0 / BO
        request.kind = Symbology::Aztec;
        request.narrow = std::clamp(IntParam(p, 1, DefaultMagnification()), 1, 100);
    }
    request.narrow = std::clamp(request.narrow, 1, 100);
    request.wide = std::clamp(request.wide, request.narrow, 300);
    request.height = std::clamp(request.height, 1, 32000);
    const BarcodeDrawing barcode = label::DrawBarcode(request);
    if (!barcode.ok) {
        m_context.NotUnderstood(QStringLiteral("^%1 (%2)").arg(command, barcode.error),
                                field.barcode->offset, 3);
        return;
    }
    Placement placement = FieldPlacement();
    placement.quarterTurns = turns;
    DrawBarcodeField(m_canvas, barcode, interpretation, InterpretationStyle(request.narrow),
                     placement, FieldInk(field));
}

void ZplReader::DrawGraphicField(const QStringList& p, const QByteArray& data) {
    const char format = CharParam(p, 0, 'A').toLatin1();
    const int total = IntParam(p, 2, IntParam(p, 1, 0));
    const int rowBytes = std::max(1, IntParam(p, 3, 1));
    const QByteArray bytes = ExpandGraphicField(data, format, total, rowBytes);
    const int rows = bytes.size() / rowBytes;
    if (rows == 0) return;
    EnsureLabel();
    m_canvas.Begin(QSizeF(rowBytes * 8, rows), FieldPlacement(), FieldInk(m_field));
    for (int row = 0; row < rows; ++row) {
        const uchar* line = reinterpret_cast<const uchar*>(bytes.constData()) + row * rowBytes;
        for (int bit = 0; bit < rowBytes * 8;) {
            if (!(line[bit / 8] & (0x80 >> (bit % 8)))) {
                ++bit;
                continue;
            }
            int run = 1;
            while (bit + run < rowBytes * 8 &&
                   (line[(bit + run) / 8] & (0x80 >> ((bit + run) % 8))))
                ++run;
            m_canvas.FillRect(QRectF(bit, row, run, 1));
            bit += run;
        }
    }
}

void ZplReader::Command(const QString& name, const QByteArray& params, std::size_t offset,
                        std::size_t length) {
    const QStringList p = SplitParams(params);
    auto coordinate = [](const QStringList& list, int index) {
        return std::clamp(IntParam(list, index, 0), -32000, 32000);
    };
    if (name == QLatin1String("XA")) {
        StartLabel();
    } else if (name == QLatin1String("XZ")) {
        if (m_open) EndLabel();
    } else if (name == QLatin1String("FO") || name == QLatin1String("FT")) {
        EnsureLabel();
        m_field.placement.origin = QPointF(coordinate(p, 0), coordinate(p, 1));
        m_field.placement.anchorAtPoint = name == QLatin1String("FT");
        m_field.haveOrigin = true;
        m_field.offset = offset;
    } else if (name == QLatin1String("FD") || name == QLatin1String("FV") ||
               name == QLatin1String("SN")) {
        EnsureLabel();
        m_field.data = name == QLatin1String("FD") || name == QLatin1String("FV")
                           ? params
                           : params.left(std::max(0, static_cast<int>(params.indexOf(','))));
        m_field.haveData = true;
        if (!m_field.haveOrigin) m_field.offset = offset;
    } else if (name == QLatin1String("FS")) {
        FinishField();
    } else if (name == QLatin1String("FH")) {
        m_field.hexIndicator = params.isEmpty() ? '_' : params[0];
    } else if (name == QLatin1String("FR")) {
        m_field.reverse = true;
    } else if (name == QLatin1String("FB")) {
        m_field.block = true;
        m_field.blockWidth = std::clamp(IntParam(p, 0, 0), 0, 32000);
        m_field.blockLines = std::clamp(IntParam(p, 1, 1), 1, 9999);
        m_field.blockSpacing = std::clamp(IntParam(p, 2, 0), -9999, 9999);
        m_field.blockJustify = CharParam(p, 3, 'L');
    } else if (name == QLatin1String("FW")) {
        m_defaultTurns = QuarterTurns(CharParam(p, 0, 'N'), m_defaultTurns);
    } else if (name == QLatin1String("A")) {
        // ^Afo,h,w: the font name follows the A directly, the orientation follows the font.
        const QString all = QString::fromLatin1(params).remove('\r').remove('\n');
        const QChar font = all.isEmpty() ? QChar('0') : all[0].toUpper();
        const QStringList rest = all.mid(1).split(QLatin1Char(','));
        m_field.font = font == '@' ? QChar('0') : font;
        const QChar orientation = CharParam(rest, 0, ' ');
        if (QuarterTurns(orientation, -1) >= 0) m_field.turns = QuarterTurns(orientation, 0);
        m_field.fontHeight = std::clamp(IntParam(rest, 1, 0), 0, 32000);
        m_field.fontWidth = std::clamp(IntParam(rest, 2, 0), 0, 32000);
        if (m_field.fontHeight == 0 && m_field.fontWidth == 0 && font == m_defaultFont) {
            m_field.fontHeight = m_defaultHeight;
            m_field.fontWidth = m_defaultWidth;
        }
    } else if (name == QLatin1String("CF")) {
        m_defaultFont = CharParam(p, 0, m_defaultFont);
        m_defaultHeight = std::clamp(IntParam(p, 1, m_defaultHeight), 1, 32000);
        m_defaultWidth = std::clamp(IntParam(p, 2, 0), 0, 32000);
        if (m_defaultWidth == 0) {
            const BitmapFont* bitmap = FindBitmapFont(m_defaultFont);
            m_defaultWidth =
                bitmap ? m_defaultHeight * bitmap->width / bitmap->height : m_defaultHeight;
        }
    } else if (name == QLatin1String("CI")) {
        m_utf8 = IntParam(p, 0, 0) == 28;
    } else if (name == QLatin1String("LH")) {
        m_home = QPointF(coordinate(p, 0), coordinate(p, 1));
    } else if (name == QLatin1String("LL")) {
        if (IntParam(p, 0, 0) > 0) ResizeLabel(std::nullopt, IntParam(p, 0, 0));
    } else if (name == QLatin1String("PW")) {
        if (IntParam(p, 0, 0) > 0) ResizeLabel(IntParam(p, 0, 0), std::nullopt);
    } else if (name == QLatin1String("PO")) {
        m_upsideDown = CharParam(p, 0, 'N') == 'I';
    } else if (name == QLatin1String("LR")) {
        m_labelReverse = CharParam(p, 0, 'N') == 'Y';
    } else if (name == QLatin1String("BY")) {
        m_moduleWidth = std::clamp(IntParam(p, 0, m_moduleWidth), 1, 100);
        m_ratio = std::clamp(ParseDouble(Param(p, 1), m_ratio), 2.0, 3.0);
        m_barHeight = std::clamp(IntParam(p, 2, m_barHeight), 1, 32000);
    } else if (name == QLatin1String("BC") || name == QLatin1String("B3") ||
               name == QLatin1String("BE") || name == QLatin1String("BU") ||
               name == QLatin1String("B2") || name == QLatin1String("BA") ||
               name == QLatin1String("BQ") || name == QLatin1String("BX") ||
               name == QLatin1String("B7") || name == QLatin1String("B0") ||
               name == QLatin1String("BO")) {
        EnsureLabel();
        m_field.barcode = Barcode{name, p, offset};
    } else if (name == QLatin1String("GB") || name == QLatin1String("GC") ||
               name == QLatin1String("GE") || name == QLatin1String("GD")) {
        EnsureLabel();
        auto dots = [&](int index, int fallback) {
            return std::clamp(IntParam(p, index, fallback), 0, 32000);
        };
        Placement placement = FieldPlacement();
        if (name == QLatin1String("GB")) {
            const int thickness = std::max(1, dots(2, 1));
            const int width = std::max(dots(0, thickness), thickness);
            const int height = std::max(dots(1, thickness), thickness);
            const int rounding = std::clamp(IntParam(p, 4, 0), 0, 8);
            placement.localAnchor = QPointF(0, height);
            DrawBox(m_canvas, width, height, thickness, rounding * std::min(width, height) / 16.0,
                    placement, FieldInk(m_field, CharParam(p, 3, 'B') == 'W'));
        } else if (name == QLatin1String("GC")) {
            const int diameter = std::max(3, dots(0, 3));
            placement.localAnchor = QPointF(0, diameter);
            DrawEllipse(m_canvas, diameter, diameter, std::max(1, dots(1, 1)), placement,
                        FieldInk(m_field, CharParam(p, 2, 'B') == 'W'));
        } else if (name == QLatin1String("GE")) {
            const int thickness = std::max(1, dots(2, 1));
            const int width = std::max(dots(0, thickness), thickness);
            const int height = std::max(dots(1, thickness), thickness);
            placement.localAnchor = QPointF(0, height);
            DrawEllipse(m_canvas, width, height, thickness, placement,
                        FieldInk(m_field, CharParam(p, 3, 'B') == 'W'));
        } else {
            const int thickness = std::max(1, dots(2, 1));
            const int width = std::max(dots(0, thickness), thickness);
            const int height = std::max(dots(1, thickness), thickness);
            placement.localAnchor = QPointF(0, height);
            m_canvas.Begin(QSizeF(width, height), placement,
                           FieldInk(m_field, CharParam(p, 3, 'B') == 'W'));
            const bool leftLeaning = CharParam(p, 4, 'R') == 'L';
            QPolygonF shape =
                leftLeaning
                    ? QPolygonF({QPointF(0, 0), QPointF(thickness, 0), QPointF(width, height),
                                 QPointF(width - thickness, height)})
                    : QPolygonF({QPointF(0, height), QPointF(thickness, height), QPointF(width, 0),
                                 QPointF(width - thickness, 0)});
            QPainterPath path;
            path.addPolygon(shape);
            path.closeSubpath();
            m_canvas.FillPath(path);
        }
    } else if (name == QLatin1String("GF")) {
        QByteArray data = params;
        int commas = 0;
        int start = 0;
        while (start < data.size() && commas < 4) {
            if (data[start] == ',') ++commas;
            ++start;
        }
        data = data.mid(start);
        const QChar format = CharParam(p, 0, 'A');
        if (format != 'B' && format != 'C')
            data.replace('\r', QByteArray()).replace('\n', QByteArray());
        DrawGraphicField(p, data);
    } else if (name == QLatin1String("CC")) {
        if (!params.isEmpty()) m_caret = params[0];
    } else if (name == QLatin1String("CT")) {
        if (!params.isEmpty()) m_tilde = params[0];
    } else if (!QuietCommands().contains(name)) {
        m_context.NotUnderstood(QLatin1Char('^') + name, offset, length);
    }
}

}  // namespace

void RenderZpl(JobContext& context) {
    ZplReader reader(context);
    reader.Run();
}

}  // namespace velkaro::label
