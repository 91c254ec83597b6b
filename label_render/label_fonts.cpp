#include "label_render/label_fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <mutex>

namespace velkaro::label {
namespace {

struct Families {
    QStringList sans;
    QStringList mono;
};

// The families a font file registers, or `fallback` when it cannot be loaded.
QStringList LoadFamilies(const char* path, const QString& fallback) {
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(path));
    QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList{};
    if (families.isEmpty()) families << fallback;
    return families.mid(0, 1);
}

const Families& LoadedFamilies() {
    static Families families;
    static std::once_flag loaded;
    std::call_once(loaded, [] {
        const QString cjkFamily = LoadFamilies("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
                                               QStringLiteral("WenQuanYi Micro Hei"))
                                      .first();
        families.sans = LoadFamilies("/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf",
                                     QStringLiteral("DejaVu Sans Condensed"));
        families.mono = LoadFamilies("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                     QStringLiteral("DejaVu Sans Mono"));
        // Chinese text under the UTF-8 code page falls through to the CJK face glyph by glyph.
        families.sans << cjkFamily;
        families.mono << cjkFamily;
    });
    return families;
}

QFont MakeFont(const QStringList& families, double pixelHeight, bool condensed) {
    QFont font;
    font.setFamilies(families);
    if (condensed) font.setStretch(QFont::SemiCondensed);
    font.setPixelSize(std::max(1, static_cast<int>(pixelHeight + 0.5)));
    // Printers have no grey: glyphs are drawn as whole dots.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

}  // namespace

QFont ScalableFont(double pixelHeight) {
    return MakeFont(LoadedFamilies().sans, pixelHeight, true);
}

QFont MonospaceFont(double pixelHeight) {
    return MakeFont(LoadedFamilies().mono, pixelHeight, false);
}

}  // namespace velkaro::label
