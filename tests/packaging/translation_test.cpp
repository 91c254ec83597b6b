// The English translation covers every text the sources mark: lupdate is run over the sources
// into a copy of translations/velkaro_en.ts, and the copy must have no unfinished or empty
// translation and no text the committed file lacks or keeps after the sources dropped it.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace velkaro::test {
namespace {

struct TsMessage {
    QString context, source, translation;
    bool unfinished = false;
};

std::vector<TsMessage> ReadTs(const QString& path) {
    std::vector<TsMessage> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return messages;
    QXmlStreamReader xml(&file);
    QString context;
    TsMessage message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages.push_back(message);
            continue;
        }
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = TsMessage{context, {}, {}, false};
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            // "unfinished", "vanished" and "obsolete" all mean: not a current translation
            message.unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
            message.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

QSet<QString> Keys(const std::vector<TsMessage>& messages) {
    QSet<QString> keys;
    for (const TsMessage& m : messages) keys.insert(m.context + QLatin1Char('|') + m.source);
    return keys;
}

TEST(TranslationTest, EveryMarkedTextHasAnEnglishTranslation) {
    const QString committed = QStringLiteral(VELKARO_SOURCE_DIR "/translations/velkaro_en.ts");
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString copy = folder.filePath(QStringLiteral("velkaro_en.ts"));
    ASSERT_TRUE(QFile::copy(committed, copy));

    QProcess update;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LUPDATE"), QStringLiteral(VELKARO_LUPDATE));
    update.setProcessEnvironment(environment);
    update.setProcessChannelMode(QProcess::MergedChannels);
    update.start(QStringLiteral("bash"),
                 {QStringLiteral(VELKARO_SOURCE_DIR "/tools/update-translations.sh"), copy});
    ASSERT_TRUE(update.waitForFinished(300000));
    ASSERT_EQ(update.exitCode(), 0) << update.readAll().toStdString();

    const std::vector<TsMessage> regenerated = ReadTs(copy);
    ASSERT_FALSE(regenerated.empty());
    QStringList untranslated;
    for (const TsMessage& m : regenerated)
        if (m.unfinished || m.translation.trimmed().isEmpty())
            untranslated << m.context + QStringLiteral(": ") + m.source;
    EXPECT_TRUE(untranslated.isEmpty())
        << "texts without an English translation (run tools/update-translations.sh, then "
           "translate them in translations/velkaro_en.ts):\n"
        << untranslated.join(QLatin1Char('\n')).toStdString();
    // texts the sources no longer have must leave the committed file too
    const QStringList stale = (Keys(ReadTs(committed)) - Keys(regenerated)).values();
    EXPECT_TRUE(stale.isEmpty())
        << "translations/velkaro_en.ts keeps texts the sources dropped; run "
           "tools/update-translations.sh:\n"
        << stale.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace velkaro::test
