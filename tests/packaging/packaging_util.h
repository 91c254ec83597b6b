// Running the build's install and packaging commands and the desktop's validators.
#pragma once

#include <QString>
#include <QStringList>

namespace velkaro::test {

struct CommandResult {
    bool started = false;
    int exitCode = -1;
    QString output;  // stdout and stderr together
};

// Runs `program` with `arguments` in `folder` (empty: the current one) and waits for it.
CommandResult RunCommand(const QString& program, const QStringList& arguments,
                         const QString& folder = {});

// Whether `program` can be found on PATH.
bool HaveProgram(const QString& program);

// The files the install must always put under its prefix, relative to it.
QStringList ExpectedInstalledFiles();

}  // namespace velkaro::test
