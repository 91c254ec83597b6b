#include <QByteArray>
#include <QtEndian>
#include <algorithm>

#include "label_render/zpl_render.h"

namespace velkaro::label {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// ":B64:data:crc" or ":Z64:data:crc" (zlib-compressed) as raw bytes.
QByteArray DecodeBase64Field(const QByteArray& data) {
    const bool compressed = data.startsWith(":Z64:");
    QByteArray body = data.mid(5);
    const int crc = body.indexOf(':');
    if (crc >= 0) body.truncate(crc);
    QByteArray bytes = QByteArray::fromBase64(body);
    if (!compressed) return bytes;
    // qUncompress wants the expected size in front; a zero lets it grow as needed.
    QByteArray framed(4, '\0');
    framed.append(bytes);
    return qUncompress(framed);
}

}  // namespace

QByteArray ExpandGraphicField(const QByteArray& data, char format, int totalBytes, int rowBytes) {
    totalBytes = std::clamp(totalBytes, 0, 8 * 1024 * 1024);
    rowBytes = std::max(1, rowBytes);
    if (format == 'B' || format == 'C') return data.left(totalBytes);
    if (data.startsWith(":B64:") || data.startsWith(":Z64:")) {
        return DecodeBase64Field(data).left(totalBytes);
    }
    QByteArray out;
    out.reserve(totalBytes);
    QByteArray row;       // the row being filled, as hex digits
    QByteArray previous;  // the last complete row, as hex digits
    const int rowDigits = rowBytes * 2;
    int repeat = 0;
    auto finishRow = [&] {
        for (int i = 0; i + 1 < row.size(); i += 2) {
            out.append(static_cast<char>(HexValue(row[i]) << 4 | HexValue(row[i + 1])));
        }
        previous = row;
        row.clear();
    };
    for (char c : data) {
        if (out.size() >= totalBytes) break;
        if (c >= 'G' && c <= 'Y') {
            repeat += c - 'G' + 1;
        } else if (c >= 'g' && c <= 'z') {
            repeat += (c - 'g' + 1) * 20;
        } else if (HexValue(c) >= 0) {
            const int count =
                std::min(std::max(1, repeat), rowDigits - static_cast<int>(row.size()));
            row.append(QByteArray(count, c));
            repeat = 0;
        } else if (c == ',') {
            row.append(QByteArray(rowDigits - row.size(), '0'));
            repeat = 0;
        } else if (c == '!') {
            row.append(QByteArray(rowDigits - row.size(), 'F'));
            repeat = 0;
        } else if (c == ':') {
            row = previous.isEmpty() ? QByteArray(rowDigits, '0') : previous;
            repeat = 0;
        }
        if (row.size() >= rowDigits) finishRow();
    }
    if (!row.isEmpty() && out.size() < totalBytes) {
        row.append(QByteArray(rowDigits - row.size(), '0'));
        finishRow();
    }
    return out.left(totalBytes);
}

}  // namespace velkaro::label
