// The program's command line: what to do before any window exists (print the version or the
// options and exit) and the choices the window starts with.
#pragma once

#include <QString>
#include <QStringList>

namespace velkaro {

struct StartOptions {
    QString portType;  // "COM", "LPT" or "ETHERNET"; empty: the kind the window starts with
    QString comPort;   // "COM<n>"
    QString baudRate;
    QString lptPort;  // "LPT<n>"
    QString ipAddress;
    QString ipPort;
    bool open = false;    // open the connection once the window shows
    QStringList unknown;  // arguments these options do not cover, for the caller to judge
};

// Reads --tcp ADDR:PORT, --com COMn, --baud RATE, --lpt LPTn and --open from `arguments`
// (without the program name). False with `error` set for a malformed value, a missing value or
// two connections at once.
bool ParseStartOptions(const QStringList& arguments, StartOptions& options, QString& error);

struct CommandLineOptions {
    QString language;  // "zh", "en", or empty: the desktop's language decides
    StartOptions start;
};

struct CommandLineRequest {
    bool exitNow = false;  // print `text` and end with `exitCode` without opening a window
    int exitCode = 0;
    QString text;  // for stdout when exitCode is 0, for stderr otherwise
    CommandLineOptions options;
};

// Reads `arguments` (the program's name first). A QCoreApplication must exist: the help text
// names the program and its captions go through the installed translators.
CommandLineRequest ParseCommandLine(const QStringList& arguments);

// Reads the process's own command line; makes a short-lived application object when none
// exists yet, so that --help and --version never need a display.
CommandLineRequest ReadCommandLine(int& argc, char** argv);

// Prints a request's text where it belongs; returns its exit code.
int PrintCommandLineText(const CommandLineRequest& request);

}  // namespace velkaro
