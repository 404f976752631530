#include "document/Document.h"
#include "format/SubtitleParser.h"

#include "EncodingSamples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// Saves that fail: each failure comes back as a message that says why, the file on disk
// stays as it was with no temporary file left beside it, and the document keeps its
// subtitles and its unsaved changes.
class tst_FailureInjection : public QObject
{
    Q_OBJECT

private:
    static constexpr char kOriginal[] = "1\n00:00:01,000 --> 00:00:02,000\nOn disk\n\n"
                                        "2\n00:00:03,000 --> 00:00:04,000\nSecond\n";

    // A document read from `path`, then edited and not saved.
    static void openAndEdit(Document &document, const QString &path, const QString &text)
    {
        QVERIFY(EncodingSamples::writeAll(path, kOriginal));
        QVERIFY(document.read(path));
        document.attachController();
        document.subtitleController().setText(text, 1);
    }

    // The content of a regular file (a device would never end).
    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    // "@" is a fresh folder holding the open file, open.srt.
    void failedSaveKeepsTheFileAndTheDocument_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("into a folder") << "@/folder.srt" << "The file could not be saved because a folder has that name.";
        QTest::newRow("a full device") << "/dev/full" << "The file could not be saved.\n";
        // root may write anywhere, but not into /proc
        QTest::newRow("into a read-only folder")
            << (geteuid() == 0 ? QStringLiteral("/proc/open.srt") : QStringLiteral("@/locked/open.srt"))
            << "The file could not be saved.\n";
        // A file size limit fails a write half way, as a full disk does (with EFBIG).
        QTest::newRow("the disk fills up while writing") << "@/open.srt" << "The file could not be saved.\n";
    }
    void failedSaveKeepsTheFileAndTheDocument()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        QTemporaryDir dir;
        Document document;
        openAndEdit(document, dir.filePath(QStringLiteral("open.srt")), QString(200 * 1024, u'x'));
        const QString text = SubtitleParser::shared().serialize(document.subtitleController().subtitles());
        const QString path = target.replace(u'@', dir.path());
        if (path.endsWith(QStringLiteral("folder.srt")))
            QVERIFY(QDir().mkdir(path));
        const QString locked = dir.filePath(QStringLiteral("locked"));
        if (path.startsWith(locked)) {
            QVERIFY(QDir().mkdir(locked) && QFile::copy(dir.filePath(QStringLiteral("open.srt")), path));
            QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray before = contents(path);
        const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

        rlimit old;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit limited = old;
        limited.rlim_cur = QTest::currentDataTag() == QLatin1String("the disk fills up while writing") ? 4096 : old.rlim_cur;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN); // EFBIG instead of a signal
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const auto written = document.write(path);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QVERIFY(!written);
        const QString &error = written.error();
        QVERIFY2(error.startsWith(message) && error.size() > QStringLiteral("The file could not be saved.\n").size(),
                 qPrintable(error));
        QCOMPARE(contents(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entries);
        QCOMPARE(SubtitleParser::shared().serialize(document.subtitleController().subtitles()), text);
        QVERIFY(document.isModified());
    }

    // The file was deleted behind the editor's back: saving puts it back.
    void savingOverAVanishedFileWritesItAgain()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("open.srt"));
        Document document;
        openAndEdit(document, path, QStringLiteral("Edited"));
        QVERIFY(QFile::remove(path));
        QVERIFY(document.write(path));
        QCOMPARE(QString::fromUtf8(contents(path)), SubtitleParser::shared().serialize(document.subtitleController().subtitles()));
    }
};

QTEST_GUILESS_MAIN(tst_FailureInjection)
#include "tst_failureinjection.moc"
