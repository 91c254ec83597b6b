#include "gui_test_util.h"

#include <QComboBox>

namespace velkaro::test {

void WindowFixture::ChooseKind(const QString& kind) const {
    auto* combo = Control<QComboBox>(dialog.get(), IDC_PORT_TYPE);
    combo->setCurrentIndex(combo->findText(kind));
    emit combo->activated(combo->currentIndex());
}

}  // namespace velkaro::test
