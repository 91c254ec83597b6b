#include "samples/sample_menu.h"

#include <QCoreApplication>

namespace velkaro {
namespace {
const char kContext[] = "velkaro::SampleMenu";
}  // namespace

std::unique_ptr<QMenu> BuildSampleMenu(PrinterLanguage language, QWidget* parent) {
    static const char* const kTitles[] = {QT_TRANSLATE_NOOP("velkaro::SampleMenu", "ZPL语言"),
                                          QT_TRANSLATE_NOOP("velkaro::SampleMenu", "EPL菜单"),
                                          QT_TRANSLATE_NOOP("velkaro::SampleMenu", "CPCL菜单")};
    auto menu = std::make_unique<QMenu>(
        QCoreApplication::translate(kContext, kTitles[static_cast<int>(language)]), parent);
    for (const SampleCommand& sample : SampleCommands()) {
        if (sample.language != language) continue;
        QAction* action = menu->addAction(QCoreApplication::translate(kContext, sample.label));
        action->setData(sample.commandId);
    }
    return menu;
}

const SampleCommand* SampleForAction(const QAction* action) {
    if (!action) return nullptr;
    const int id = action->data().toInt();
    for (const SampleCommand& sample : SampleCommands())
        if (sample.commandId == id) return &sample;
    return nullptr;
}

}  // namespace velkaro
