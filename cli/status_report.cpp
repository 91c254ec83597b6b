#include "cli/status_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <algorithm>

namespace velkaro::cli {
namespace {

using printer_language::Severity;
using printer_language::StatusReply;

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// Text of the program (UTF-8) for JSON.
QString Utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Bytes from the printer: UTF-8 when they are, else each byte as the character of its value,
// so nothing is lost or replaced.
QString Received(const std::string& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (decoder.hasError())
        text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

// Control characters of a raw value made visible for a terminal: <STX>, <ETX>, \r, \n, \xHH.
std::string Visible(const std::string& raw) {
    std::string shown;
    for (const unsigned char c : raw) {
        if (c == 0x02) {
            shown += "<STX>";
        } else if (c == 0x03) {
            shown += "<ETX>";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            static const char kHex[] = "0123456789ABCDEF";
            shown += "\\x";
            shown += kHex[c >> 4];
            shown += kHex[c & 15];
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

std::string Pad(const std::string& text, std::size_t width) {
    const std::size_t used = DisplayWidth(text);
    return text + std::string(width > used ? width - used : 0, ' ');
}

}  // namespace

std::size_t DisplayWidth(const std::string& utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x3F >> (length - 1));
        for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        width += IsWide(c) ? 2 : 1;
        i += length;
    }
    return width;
}

bool StatusReport::AllDecoded() const {
    return !replies.empty() && std::all_of(replies.begin(), replies.end(),
                                           [](const StatusReply& r) { return r.decoded; });
}

Severity StatusReport::WorstSeverity() const {
    Severity worst = Severity::Ok;
    for (const StatusReply& reply : replies) worst = std::max(worst, reply.severity);
    return worst;
}

bool StatusReport::Ready() const {
    return AllDecoded() && WorstSeverity() == Severity::Ok;
}

std::string StatusReport::Summary() const {
    if (!AllDecoded()) return printer_language::kUndecodedSummary;
    std::vector<std::string> faults;
    for (const StatusReply& reply : replies)
        for (const std::string& fault : reply.faults)
            if (std::find(faults.begin(), faults.end(), fault) == faults.end())
                faults.push_back(fault);
    return faults.empty() ? printer_language::kReadySummary : printer_language::JoinFaults(faults);
}

std::string FormatStatusTable(const StatusReport& report) {
    std::string out = report.device + ": " + report.Summary() + '\n';
    for (const StatusReply& reply : report.replies) {
        out += '\n' + std::string(printer_language::ReplyKindName(reply.kind)) + ": " +
               reply.summary + '\n';
        if (!reply.decoded) {
            out += "  raw: " + Visible(reply.raw) + '\n';
            continue;
        }
        std::size_t nameWidth = DisplayWidth("FIELD"), rawWidth = DisplayWidth("RAW"),
                    meaningWidth = DisplayWidth("MEANING");
        for (const auto& field : reply.fields) {
            nameWidth = std::max(nameWidth, DisplayWidth(field.name));
            rawWidth = std::max(rawWidth, DisplayWidth(Visible(field.raw)));
            meaningWidth = std::max(meaningWidth, DisplayWidth(field.meaning));
        }
        const auto row = [&](const std::string& name, const std::string& raw,
                             const std::string& meaning, const std::string& severity) {
            std::string line = "  " + Pad(name, nameWidth + 2) + Pad(raw, rawWidth + 2) +
                               Pad(meaning, meaningWidth + 2) + severity;
            while (!line.empty() && line.back() == ' ') line.pop_back();
            return line + '\n';
        };
        out += row("FIELD", "RAW", "MEANING", "SEVERITY");
        for (const auto& field : reply.fields)
            out += row(field.name, Visible(field.raw), field.meaning,
                       field.severity == Severity::Ok ? "" : SeverityKey(field.severity));
    }
    return out;
}

std::string FormatStatusJson(const StatusReport& report) {
    QJsonArray replies;
    for (const StatusReply& reply : report.replies) {
        QJsonArray fields;
        for (const auto& field : reply.fields)
            fields.append(QJsonObject{{"key", Utf8(field.key)},
                                      {"name", Utf8(field.name)},
                                      {"raw", Received(field.raw)},
                                      {"meaning", Utf8(field.meaning)},
                                      {"severity", SeverityKey(field.severity)}});
        replies.append(QJsonObject{{"kind", ReplyKindKey(reply.kind)},
                                   {"title", Utf8(printer_language::ReplyKindName(reply.kind))},
                                   {"decoded", reply.decoded},
                                   {"raw", Received(reply.raw)},
                                   {"summary", Utf8(reply.summary)},
                                   {"severity", SeverityKey(reply.severity)},
                                   {"fields", fields}});
    }
    const QJsonObject root{{"device", Utf8(report.device)},
                           {"language", Utf8(report.language)},
                           {"ready", report.Ready()},
                           {"summary", Utf8(report.Summary())},
                           {"severity", SeverityKey(report.WorstSeverity())},
                           {"replies", replies}};
    return QJsonDocument(root).toJson().toStdString();
}

}  // namespace velkaro::cli
