#include "app/preferences/Translator.h"
#include "document/SubtitleFile.h"
#include "format/TolerantSubtitleReader.h"

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
    // Each plural form of a translation holds them again.
    found.sort();
    found.removeDuplicates();
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

    // An untranslated entry shows English; a lost or extra "%1" prints a raw placeholder
    // or drops a file name from a message.
    void everyEntryIsFinishedWithItsPlaceholders()
    {
        QStringList faults;
        for (const Entry &entry : std::as_const(m_entries)) {
            if (entry.type == QLatin1String("unfinished") || (entry.type.isEmpty() && entry.translation.isEmpty()))
                faults << QStringLiteral("not translated: ") + entry.context + QStringLiteral(": ") + entry.source;
            else if (entry.type.isEmpty() && placeholders(entry.source) != placeholders(entry.translation))
                faults << QStringLiteral("placeholders differ: ") + entry.context + QStringLiteral(": ") + entry.source;
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void languagePreferenceDecides_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("automatic");
        QTest::addColumn<QString>("twoNotes"); // a text that counts
        QTest::newRow("Austrian German") << QStringList{"de-AT"} << "de-AT" << "Automatisch" << "2 Notizen oder Kommentare";
        QTest::newRow("French first, German second") << QStringList{"fr-FR", "de-DE"} << "de-DE" << "Automatisch"
                                                     << "2 Notizen oder Kommentare";
        QTest::newRow("English first, German second stays English") << QStringList{"en-US", "de-DE"} << "" << "Automatic"
                                                                    << "2 notes or comments";
        QTest::newRow("no language we have") << QStringList{"fr", "ja"} << "" << "Automatic" << "2 notes or comments";
    }

    void languagePreferenceDecides()
    {
        QFETCH(QStringList, languages);
        QFETCH(QString, installed);
        QFETCH(QString, automatic);
        QFETCH(QString, twoNotes);
        // Each call replaces the previous one's translation, so the rows do not leak.
        QCOMPARE(Translator::install(*QCoreApplication::instance(), languages), installed);
        // The compiled-in translation carries what the .ts says.
        QCOMPARE(QCoreApplication::translate("EncodingsPopupButton", "Automatic"), automatic);
        QCOMPARE(QCoreApplication::translate("FormatKeep", "%n note(s) or comment(s)", nullptr, 2), twoNotes);
    }

    // The document layer's messages (file errors, encodings, "Untitled") are translated
    // too: its sources were once left out of what the translation is made from.
    void theDocumentsMessagesAreTranslated()
    {
        Translator::install(*QCoreApplication::instance(), {QStringLiteral("de")});
        const auto missing = SubtitleFile::read(QStringLiteral("/nonexistent/cuewright.srt"), TextEncoding::Automatic);
        // The repairing reader's texts once sat in a context of their own that no call looked up.
        const auto repaired = TolerantSubtitleReader::read(u"\n1\n00:00:01,000 --> 00:00:02,000\nHi\n");
        Translator::install(*QCoreApplication::instance(), {QStringLiteral("en")});
        QVERIFY(!missing);
        QCOMPARE(missing.error(), QStringLiteral("Die Datei konnte nicht geöffnet werden, weil sie nicht existiert."));
        QVERIFY(repaired && repaired.value().repairs.size() == 1);
        QCOMPARE(repaired.value().repairs.first().description, QStringLiteral("1 Leerzeile am Anfang übersprungen."));
    }
};

QTEST_GUILESS_MAIN(tst_Translations)
#include "tst_translations.moc"
