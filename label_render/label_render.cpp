#include "label_render/label_render.h"

#include "label_render/cpcl_render.h"
#include "label_render/epl_render.h"
#include "label_render/label_job.h"
#include "label_render/zpl_render.h"

namespace velkaro::label {

Language DetectLanguage(const std::string& job) {
    // The first command decides: CPCL sessions open with "! ", ZPL commands start with a
    // caret or tilde, everything else is read as EPL.
    std::size_t pos = 0;
    while (pos < job.size()) {
        const char c = job[pos];
        if (c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\0') {
            ++pos;
            continue;
        }
        if (c == '!') return Language::CPCL;
        if (c == '^' || c == '~') return Language::ZPL;
        if (c == '\x1b') return Language::CPCL;  // ESC h, ESC i, ESC v status queries
        break;
    }
    if (job.find("^XA") != std::string::npos || job.find("^xa") != std::string::npos) {
        return Language::ZPL;
    }
    return Language::EPL;
}

RenderResult Render(const std::string& job, const RenderOptions& options) {
    RenderResult result;
    result.language = options.language == Language::Auto ? DetectLanguage(job) : options.language;
    JobContext context(job, options, result);
    switch (result.language) {
        case Language::CPCL:
            RenderCpcl(context);
            break;
        case Language::EPL:
            RenderEpl(context);
            break;
        default:
            RenderZpl(context);
            break;
    }
    return result;
}

}  // namespace velkaro::label
