#include "widgets/dialog_units.h"

#include <QFontMetrics>

namespace velkaro {
namespace {

int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseWidth_ = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    baseHeight_ = metrics.height();
}

int DialogUnits::X(int units) const {
    return MulDiv(units, baseWidth_, 4);
}
int DialogUnits::Y(int units) const {
    return MulDiv(units, baseHeight_, 8);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    return QRect(X(x), Y(y), X(width), Y(height));
}

QFont DialogFont(int pointSize) {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace velkaro
