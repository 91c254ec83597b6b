// Writes the program's icon as PNG files for the desktop's icon theme:
//   velkaro-render-icons <folder> <size>...
// makes <folder>/<size>x<size>/apps/velkaro.png for each size, drawn by the same code the
// window uses for its own icon.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "widgets/artwork.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    // Drawing needs no screen; the offscreen platform is enough.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) return 2;
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QImage image = velkaro::AppIcon().pixmap(size, size).toImage();
        if (!QDir().mkpath(folder) || image.size() != QSize(size, size) ||
            !image.save(folder + QStringLiteral("/velkaro.png"))) {
            std::fprintf(stderr, "cannot write the %dx%d icon into %s\n", size, size, argv[1]);
            return 1;
        }
    }
    return 0;
}
