// The application: one main window, run until it closes.
#pragma once

#include <QApplication>

#include "app/command_line.h"

namespace velkaro {

class CVelkaroApp : public QApplication {
  public:
    CVelkaroApp(int& argc, char** argv);
    // Shows the main window, applies the start options and returns when it has closed.
    int InitInstance(const StartOptions& options = {});
};

// Why the program cannot show a window here, or empty when it can.
QString MissingDisplayReason();

}  // namespace velkaro
