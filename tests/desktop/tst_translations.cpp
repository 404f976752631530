#include "app/Translator.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Entry
{
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty when finished
};

QList<Entry> readTs(const QString &path)
{
    QList<Entry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    QString context;
    Entry entry;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            entry = Entry{context, {}, {}, {}};
        } else if (xml.name() == QLatin1String("source")) {
            entry.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            entry.type = xml.attributes().value(QLatin1String("type")).toString();
            entry.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            entries.append(entry);
        }
    }
    if (xml.hasError())
        qWarning() << "cannot read" << path << xml.errorString();
    return entries;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%L?\\d"));
    QStringList found;
    for (const auto &match : placeholder.globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private:
    QList<Entry> m_entries;

private slots:
    void initTestCase()
    {
        m_entries = readTs(QStringLiteral(CUEWRIGHT_TS_FILE));
        QVERIFY2(m_entries.size() > 100, "the German translation lists too few messages");
    }

    void everyEntryIsFinished()
    {
        QStringList unfinished;
        for (const Entry &entry : std::as_const(m_entries)) {
            if (entry.type == QLatin1String("unfinished") || (entry.type.isEmpty() && entry.translation.isEmpty()))
                unfinished << entry.context + QStringLiteral(": ") + entry.source;
        }
        QVERIFY2(unfinished.isEmpty(), qPrintable(QStringLiteral("not translated:\n") + unfinished.join(QLatin1Char('\n'))));
    }

    // A lost or extra "%1" prints a raw placeholder or drops a file name from a message.
    void translationsKeepTheirPlaceholders()
    {
        for (const Entry &entry : std::as_const(m_entries)) {
            if (!entry.type.isEmpty())
                continue;
            QVERIFY2(placeholders(entry.source) == placeholders(entry.translation),
                     qPrintable(entry.context + QStringLiteral(": ") + entry.source));
        }
    }

    void namedMessagesAreTranslated_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::newRow("the parse error's line") << "ParseError" << "Error at line %1.\n%2";
        QTest::newRow("an invalid index") << "ParseError" << "Invalid index.";
        QTest::newRow("an invalid timestamp") << "ParseError" << "Invalid timestamp.";
        QTest::newRow("a file ending too soon") << "ParseError" << "Unexpected end of file.";
        QTest::newRow("the encoding chooser's Automatic") << "EncodingsPopupButton" << "Automatic";
        QTest::newRow("the command line's Automatic") << "CommandLineTool" << "Automatic";
        QTest::newRow("a new document's first subtitle") << "DocumentController" << "A new beginning.";
    }

    void namedMessagesAreTranslated()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        const auto found = std::find_if(m_entries.cbegin(), m_entries.cend(), [&](const Entry &entry) {
            return entry.context == context && entry.source == source;
        });
        QVERIFY2(found != m_entries.cend(), "the message is not in the translation file");
        QVERIFY(found->type.isEmpty());
        QVERIFY(!found->translation.isEmpty());
        QVERIFY(found->translation != source);
    }

    // The compiled-in .qm carries what the .ts says.
    void germanIsInstalledFromTheProgram()
    {
        QCOMPARE(Translator::install(*QCoreApplication::instance(), {QStringLiteral("de-DE")}), QStringLiteral("de-DE"));
        QCOMPARE(QCoreApplication::translate("ParseError", "Invalid timestamp."), QStringLiteral("Ungültiger Zeitstempel."));
        QCOMPARE(QCoreApplication::translate("ParseError", "Error at line %1.\n%2"), QStringLiteral("Fehler in Zeile %1.\n%2"));
    }

    void languagePreferenceDecides_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("automatic");
        QTest::newRow("German alone") << QStringList{"de"} << "de" << "Automatisch";
        QTest::newRow("Austrian German") << QStringList{"de-AT"} << "de-AT" << "Automatisch";
        QTest::newRow("French first, German second") << QStringList{"fr-FR", "de-DE"} << "de-DE" << "Automatisch";
        QTest::newRow("English first, German second stays English") << QStringList{"en-US", "de-DE"} << "" << "Automatic";
        QTest::newRow("no language we have") << QStringList{"fr", "ja"} << "" << "Automatic";
        QTest::newRow("an empty list") << QStringList{} << "" << "Automatic";
    }

    void languagePreferenceDecides()
    {
        QFETCH(QStringList, languages);
        QFETCH(QString, installed);
        QFETCH(QString, automatic);
        // Each call replaces the previous one's translation, so the rows do not leak.
        QCOMPARE(Translator::install(*QCoreApplication::instance(), languages), installed);
        QCOMPARE(QCoreApplication::translate("EncodingsPopupButton", "Automatic"), automatic);
    }
};

QTEST_GUILESS_MAIN(tst_Translations)
#include "tst_translations.moc"
