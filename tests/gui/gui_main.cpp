// Runs the window tests offscreen inside one QApplication.
#include <gtest/gtest.h>

#include <QApplication>

#include "widgets/hyperlink.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    velkaro::InstallHyperlinkAccessibility();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
