#include "samples/sample_menu.h"

namespace velkaro {

std::unique_ptr<QMenu> BuildSampleMenu(PrinterLanguage language, QWidget* parent) {
    static const char* const kTitles[] = {"ZPL语言", "EPL菜单", "CPCL菜单"};
    auto menu =
        std::make_unique<QMenu>(QString::fromUtf8(kTitles[static_cast<int>(language)]), parent);
    for (const SampleCommand& sample : SampleCommands()) {
        if (sample.language != language) continue;
        QAction* action = menu->addAction(QString::fromUtf8(sample.label));
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
