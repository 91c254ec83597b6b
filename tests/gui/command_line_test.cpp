// The command line: what ends the program before a window exists, and what the window gets.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace velkaro {
namespace {

CommandLineRequest Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("velkaro"));
    return ParseCommandLine(arguments);
}

TEST(CommandLineTest, HelpAndVersionEndTheProgram) {
    for (const char* option : {"--version", "-v"}) {
        const CommandLineRequest request = Parse({QString::fromLatin1(option)});
        EXPECT_TRUE(request.exitNow) << option;
        EXPECT_EQ(request.exitCode, 0);
        EXPECT_EQ(request.text, QStringLiteral("Velkaro 1.00\n"));
    }
    for (const char* option : {"--help", "-h"}) {
        const CommandLineRequest request = Parse({QString::fromLatin1(option)});
        EXPECT_TRUE(request.exitNow) << option;
        EXPECT_EQ(request.exitCode, 0);
        EXPECT_TRUE(request.text.contains(QLatin1String("--lang <zh|en>"))) << option;
        EXPECT_TRUE(request.text.contains(QLatin1String("--version")));
        EXPECT_FALSE(request.text.contains(QLatin1String("-platform")));  // Qt's own stay hidden
    }
}

TEST(CommandLineTest, ChoicesForTheWindow) {
    const struct {
        QStringList arguments;
        QString language;
    } cases[] = {
        {{}, QString()},
        {{QStringLiteral("--lang"), QStringLiteral("en")}, QStringLiteral("en")},
        {{QStringLiteral("--lang=zh")}, QStringLiteral("zh")},
        // Qt's own window options are QApplication's business, not errors
        {{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-reverse")},
         QString()},
    };
    for (const auto& c : cases) {
        const CommandLineRequest request = Parse(c.arguments);
        EXPECT_FALSE(request.exitNow) << c.arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(request.options.language, c.language);
    }
}

TEST(CommandLineTest, MistakesEndWithAnErrorText) {
    const QStringList cases[] = {
        {QStringLiteral("--bogus")},
        {QStringLiteral("--lang"), QStringLiteral("fr")},
        {QStringLiteral("--lang")},
    };
    for (const QStringList& arguments : cases) {
        const CommandLineRequest request = Parse(arguments);
        EXPECT_TRUE(request.exitNow) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_NE(request.exitCode, 0);
        EXPECT_FALSE(request.text.isEmpty());
    }
}

}  // namespace
}  // namespace velkaro
