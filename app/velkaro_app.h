// The application: one main window, run until it closes.
#pragma once

#include <QApplication>

namespace velkaro {

class CVelkaroApp : public QApplication {
  public:
    CVelkaroApp(int& argc, char** argv);
    // Shows the main window and returns when it has closed.
    int InitInstance();
};

// Why the program cannot show a window here, or empty when it can.
QString MissingDisplayReason();

}  // namespace velkaro
