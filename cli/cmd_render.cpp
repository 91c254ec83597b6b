// velkaro-cli render FILE|- [--dpmm 6|8|12|24] [--size WxH[in|mm]] [--lang zpl|epl|cpcl]
//                    -o OUT.png|-
// One PNG per label: OUT itself for a single label, OUT-1.png, OUT-2.png ... for several; with
// "-o -" the PNGs follow one another on standard output.
#include <fcntl.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <cerrno>
#include <cstring>
#include <memory>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/label_size.h"
#include "cli/report.h"
#include "label_render/label_render.h"
#include "platform/unique_fd.h"

namespace velkaro::cli {
namespace {

// Everything readable from `fd`.
bool ReadAll(int fd, std::string* bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes->append(buffer, static_cast<std::size_t>(n));
    }
}

QtMessageHandler g_defaultMessages = nullptr;

// Qt's note about a missing runtime folder says nothing about the labels; keep it off stderr,
// where scripts read this command's findings.
void FilterMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtFatalMsg && text.startsWith(QLatin1String("QStandardPaths:"))) return;
    if (g_defaultMessages) g_defaultMessages(type, context, text);
}

// Fonts need a GUI application; drawing needs no display, so the offscreen platform serves
// unless the user chose another.
std::unique_ptr<QGuiApplication> StartGui() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    g_defaultMessages = qInstallMessageHandler(FilterMessages);
    static int argc = 1;
    static char name[] = "velkaro-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

// OUT for the only label; OUT's name with "-N" before its extension for label N of several.
std::string OutputName(const std::string& out, std::size_t index, std::size_t count) {
    if (count == 1) return out;
    const std::size_t slash = out.rfind('/');
    std::size_t dot = out.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = out.size();
    return out.substr(0, dot) + '-' + std::to_string(index + 1) + out.substr(dot);
}

QByteArray Png(const QImage& label) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    label.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

int RunRender(const Arguments& args) {
    CommandLine line;
    std::string error;
    if (!ParseCommandLine(args, {"--dpmm", "--size", "--lang", "-o", "--output"}, {}, &line,
                          &error))
        return UsageError("render", error);
    if (line.operands.size() != 1) return UsageError("render", "give one FILE (or -)");
    const std::string out = line.Value("-o", line.Value("--output"));
    if (out.empty()) return UsageError("render", "give -o OUT.png (or -o - for standard output)");

    label::RenderOptions options;
    const std::string dpmm = line.Value("--dpmm", "8");
    if (dpmm != "6" && dpmm != "8" && dpmm != "12" && dpmm != "24")
        return UsageError("render", "--dpmm is 6, 8, 12 or 24");
    options.dotsPerMm = std::stoi(dpmm);
    if (line.Has("--size")) {
        const auto size = ParseLabelSize(line.Value("--size"));
        if (!size) return UsageError("render", "bad --size (e.g. 4x6in or 100x150mm)");
        options.widthMm = size->width;
        options.heightMm = size->height;
    }
    const std::string language = line.Value("--lang", "auto");
    if (language == "zpl")
        options.language = label::Language::ZPL;
    else if (language == "epl")
        options.language = label::Language::EPL;
    else if (language == "cpcl")
        options.language = label::Language::CPCL;
    else if (language != "auto")
        return UsageError("render", "--lang is zpl, epl or cpcl");

    const std::string& input = line.operands[0];
    std::string job;
    UniqueFd file;
    if (input != "-") file.Reset(::open(input.c_str(), O_RDONLY | O_CLOEXEC));
    if ((input != "-" && !file) || !ReadAll(input == "-" ? STDIN_FILENO : file.Get(), &job)) {
        ReportError(input, std::strerror(errno));
        return kExitFailed;
    }

    const auto gui = StartGui();
    const label::RenderResult result = label::Render(job, options);
    if (result.labels.empty()) {
        ReportError(input, "holds no label");
        return kExitFailed;
    }
    for (std::size_t i = 0; i < result.labels.size(); ++i) {
        const QByteArray png = Png(result.labels[i]);
        const std::string name = OutputName(out, i, result.labels.size());
        bool written = false;
        if (out == "-") {
            written =
                WriteFully(STDOUT_FILENO, png.constData(), static_cast<std::size_t>(png.size()));
        } else {
            UniqueFd target(::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
            written = target && WriteFully(target.Get(), png.constData(),
                                           static_cast<std::size_t>(png.size()));
        }
        if (!written) {
            ReportError(out == "-" ? "standard output" : name, std::strerror(errno));
            return kExitFailed;
        }
    }
    for (const label::NotUnderstood& item : result.notUnderstood)
        ReportError(input, "byte " + std::to_string(item.offset) +
                               ": not understood: " + item.command.toStdString());
    return result.notUnderstood.empty() ? kExitOk : kExitFailed;
}

}  // namespace velkaro::cli
