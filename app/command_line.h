// The window's start options: which connection to choose and whether to open it at once.
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

// The lines describing these options, for a usage text.
QString StartOptionsUsage();

}  // namespace velkaro
