// Any bytes, read as each printer language: the renderer must draw what it can, list the rest
// with places inside the job, and never crash or run away with memory.
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "label_render/label_render.h"

// fontconfig keeps what it looks up (fallback faces for a character seen the first time) for
// the life of the process, which the leak checker would take for a leak of the renderer.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libfreetype.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Fonts need the application object. It is never destroyed: libFuzzer leaves through
    // exit(), and tearing Qt down from there crashes in its thread storage.
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velkaro::label;
    if (size == 0) return 0;
    // The first byte picks the language and resolution, the rest is the job.
    static const Language languages[] = {Language::Auto, Language::ZPL, Language::EPL,
                                         Language::CPCL};
    static const int resolutions[] = {6, 8, 12, 24};
    RenderOptions options;
    options.language = languages[data[0] & 3];
    options.dotsPerMm = resolutions[(data[0] >> 2) & 3];
    options.widthMm = 50;
    options.heightMm = 30;
    const std::string job(reinterpret_cast<const char*>(data + 1), size - 1);
    const RenderResult result = Render(job, options);
    for (const NotUnderstood& item : result.notUnderstood) {
        if (item.offset > job.size() || item.length > job.size() - item.offset) std::abort();
    }
    for (const QImage& label : result.labels) {
        if (label.isNull()) std::abort();
    }
    return 0;
}
