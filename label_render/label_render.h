// Draws ZPL II, EPL and CPCL jobs as label images, the way a printer would print them, without
// a printer. Needs a QGuiApplication (the "offscreen" platform is enough) for fonts; otherwise a
// pure function: Render() may be called from any thread, also from several at once.
#pragma once

#include <QImage>
#include <QString>
#include <cstddef>
#include <string>
#include <vector>

namespace velkaro::label {

enum class Language { Auto, ZPL, EPL, CPCL };

struct RenderOptions {
    int dotsPerMm = 8;        // 6, 8, 12 or 24 (152, 203, 300, 600 dpi)
    double widthMm = 101.6;   // 4 in, unless the job sets its width (^PW, q, PAGE-WIDTH)
    double heightMm = 152.4;  // 6 in, unless the job sets its length (^LL, Q, the ! header)
    Language language = Language::Auto;
};

// A command the renderer did not understand, and where it starts in the job.
struct NotUnderstood {
    QString command;
    std::size_t offset = 0;  // byte offset into the job
    std::size_t length = 0;  // bytes the item spans
};

struct RenderResult {
    Language language = Language::Auto;  // the language the job was read as
    std::vector<QImage> labels;          // one per printed label: black on white
    std::vector<NotUnderstood> notUnderstood;
};

RenderResult Render(const std::string& job, const RenderOptions& options = {});

// The language a job is written in, guessed from its first commands.
Language DetectLanguage(const std::string& job);

}  // namespace velkaro::label
