#include <clocale>
#include <cstdio>

#include "app/velkaro_app.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");  // the locale's character set is the printer's text encoding
    const QString reason = velkaro::MissingDisplayReason();
    if (!reason.isEmpty()) {
        std::fprintf(stderr, "%s\n", reason.toLocal8Bit().constData());
        return 1;
    }
    velkaro::CVelkaroApp app(argc, argv);
    velkaro::StartOptions options;
    QString error;
    if (!velkaro::ParseStartOptions(app.arguments().mid(1), options, error) ||
        !options.unknown.isEmpty()) {
        if (error.isEmpty()) error = QStringLiteral("unknown option: ") + options.unknown.first();
        std::fprintf(stderr, "velkaro: %s\noptions:\n%s", error.toLocal8Bit().constData(),
                     velkaro::StartOptionsUsage().toLocal8Bit().constData());
        return 2;
    }
    return app.InitInstance(options);
}
