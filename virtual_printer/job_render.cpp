#include "virtual_printer/job_render.h"

#include <QImage>
#include <QString>

#include "label_render/label_render.h"

namespace velkaro::virtual_printer {
namespace {

label::Language RenderLanguage(printer_language::Language language) {
    switch (language) {
        case printer_language::Language::Epl:
            return label::Language::EPL;
        case printer_language::Language::Cpcl:
            return label::Language::CPCL;
        default:
            return label::Language::ZPL;
    }
}

}  // namespace

VirtualPrinter::JobHook MakeRenderHook(std::function<void(const std::string&)> log) {
    return [log = std::move(log)](const SpooledJob& job) {
        label::RenderOptions options;
        options.language = RenderLanguage(job.language);
        const label::RenderResult result = label::Render(std::string(job.bytes), options);
        const std::string stem = (job.file.parent_path() / job.file.stem()).string();
        std::string written;
        for (std::size_t i = 0; i < result.labels.size(); ++i) {
            const std::string path =
                stem + (i == 0 ? std::string() : '-' + std::to_string(i + 1)) + ".png";
            if (!result.labels[i].save(QString::fromStdString(path), "PNG")) {
                log("cannot write " + path);
                continue;
            }
            written += (written.empty() ? "" : ", ") + path.substr(path.rfind('/') + 1);
        }
        std::string line = "drew " + job.file.filename().string() + ": " +
                           (written.empty() ? std::string("no label") : written);
        if (!result.notUnderstood.empty()) {
            line += ", " + std::to_string(result.notUnderstood.size()) + " not understood (" +
                    result.notUnderstood.front().command.toStdString() + " at byte " +
                    std::to_string(result.notUnderstood.front().offset) + ")";
        }
        log(line);
    };
}

}  // namespace velkaro::virtual_printer
