#include <clocale>
#include <cstdio>

#include "app/command_line.h"
#include "app/ui_language.h"
#include "app/velkaro_app.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");  // the locale's character set is the printer's text encoding
    const velkaro::CommandLineRequest request = velkaro::ReadCommandLine(argc, argv);
    if (request.exitNow) return velkaro::PrintCommandLineText(request);
    const QString reason = velkaro::MissingDisplayReason();
    if (!reason.isEmpty()) {
        std::fprintf(stderr, "%s\n", reason.toLocal8Bit().constData());
        return 1;
    }
    velkaro::CVelkaroApp app(argc, argv);
    velkaro::InstallUiLanguage(app, velkaro::ChooseUiLanguage(request.options.language));
    return app.InitInstance(request.options.start);
}
