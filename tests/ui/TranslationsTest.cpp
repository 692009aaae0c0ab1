// The translations as shipped: every text of the window in German and French is finished, keeps
// the source's placeholders (a lost %1 drops a file name or a number from the sentence) and its
// keyboard mnemonic, and every counted text has its forms, English too.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

struct Message
{
    QString context, source;
    bool numerus = false;
    bool unfinished = false;
    QStringList translations; // one, or one per numerus form
};

QList<Message> messagesOf(const QString& aPath)
{
    QList<Message> messages;
    QFile file(aPath);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << aPath.toStdString();
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.append(
                Message{context, {}, xml.attributes().value("numerus") == QLatin1String("yes"), false, {}});
        } else if (xml.name() == QLatin1String("source") && !messages.isEmpty()) {
            messages.last().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") && !messages.isEmpty()) {
            messages.last().unfinished = xml.attributes().value("type") == QLatin1String("unfinished");
            if (!messages.last().numerus)
                messages.last().translations.append(xml.readElementText());
        } else if (xml.name() == QLatin1String("numerusform") && !messages.isEmpty()) {
            messages.last().translations.append(xml.readElementText());
        }
    }
    EXPECT_FALSE(xml.hasError()) << aPath.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

QSet<QString> placeholders(const QString& aText)
{
    QSet<QString> found;
    QRegularExpressionMatchIterator it = QRegularExpression("%[1-9n]").globalMatch(aText);
    while (it.hasNext())
        found.insert(it.next().captured());
    return found;
}

bool hasMnemonic(const QString& aText)
{
    return QRegularExpression("&[^&\\s;]").match(QString(aText).remove("&&")).hasMatch() &&
           !aText.contains(QLatin1String(";;"));
}

} // namespace

TEST(Translations, EveryTextIsFinishedWithItsPlaceholdersAndMnemonic)
{
    const QString folder = VELTRANE_SOURCE_DIR "/src/ui/translations/";
    for (const QString language : {"de", "fr", "en"}) {
        const QList<Message> messages = messagesOf(folder + "translation_" + language + ".ts");
        ASSERT_FALSE(messages.isEmpty()) << language.toStdString();
        for (const Message& message : messages) {
            const std::string where = language.toStdString() + " [" + message.context.toStdString() + "] " +
                                      message.source.toStdString();
            EXPECT_FALSE(message.unfinished) << where;
            ASSERT_EQ(message.translations.size(), message.numerus ? 2 : 1) << where;
            for (qsizetype form = 0; form < message.translations.size(); ++form) {
                const QString& text = message.translations[form];
                EXPECT_FALSE(text.trimmed().isEmpty()) << where;
                QSet<QString> expected = placeholders(message.source);
                // The singular may say "one" in words instead of %n.
                if (message.numerus && form == 0)
                    expected.remove("%n");
                EXPECT_TRUE(placeholders(text).contains(expected)) << where << " -> " << text.toStdString();
                EXPECT_EQ(hasMnemonic(text), hasMnemonic(message.source))
                    << where << " -> " << text.toStdString();
            }
        }
    }
}
