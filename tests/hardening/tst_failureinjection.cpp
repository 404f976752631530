#include "document/Document.h"
#include "format/SubtitleParser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

// Saves that fail: each failure comes back as a message, the file on disk stays as it
// was, and the document keeps its subtitles and its unsaved changes.
class tst_FailureInjection : public QObject
{
    Q_OBJECT

private:
    // A document with unsaved work: read from a file, then edited.
    struct EditedDocument
    {
        Document document;
        QString text; // the list as SRT, to compare after a failure

        explicit EditedDocument(const QString &path)
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(kOriginal) < 0 || !file.flush())
                qFatal("cannot write %s", qPrintable(path));
            if (const auto error = document.read(path))
                qFatal("%s", qPrintable(*error));
            document.subtitleController().setDelegate(&document);
            document.subtitleController().setUndoManager(&document.undoManager());
            document.subtitleController().setText(QStringLiteral("Edited, not saved"), 0);
            text = SubtitleParser::shared().serialize(document.subtitleController().subtitles());
        }
        // Still open with the same list and still waiting to be saved.
        bool isIntact()
        {
            return SubtitleParser::shared().serialize(document.subtitleController().subtitles()) == text
                && document.isModified();
        }
    };

    static constexpr char kOriginal[] = "1\n00:00:01,000 --> 00:00:02,000\nOn disk\n\n"
                                        "2\n00:00:03,000 --> 00:00:04,000\nSecond\n";

    // The content of a regular file (a device would never end).
    static QByteArray readAll(const QString &path)
    {
        if (!QFileInfo(path).isFile())
            return QByteArray();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QStringList entries(const QString &folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("CuewrightTests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_failureinjection"));
    }

    void writeFailuresKeepTheFileAndTheDocument_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        QTest::newRow("into a folder") << "@/folder.srt"
                                       << "The file could not be saved because a folder has that name.";
        QTest::newRow("a full device") << "/dev/full" << "The file could not be saved.\n";
        QTest::newRow("into a folder that vanished") << "@/gone/open.srt" << "The file could not be saved.\n";
        // root may write anywhere, but not into /proc
        QTest::newRow("into a read-only folder")
            << (geteuid() == 0 ? QStringLiteral("/proc/open.srt") : QStringLiteral("@/locked/open.srt"))
            << "The file could not be saved.\n";
    }
    void writeFailuresKeepTheFileAndTheDocument()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        QTemporaryDir dir;
        EditedDocument edited(dir.filePath(QStringLiteral("open.srt")));
        const QString path = target.replace(u'@', dir.path());
        if (path.endsWith(QStringLiteral("folder.srt")))
            QVERIFY(QDir().mkdir(path));
        if (path.contains(QStringLiteral("/locked/"))) {
            QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("locked"))));
            QVERIFY(QFile::copy(dir.filePath(QStringLiteral("open.srt")), path));
            QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner));
        }
        const QByteArray before = readAll(path);

        const auto error = edited.document.write(path);
        QVERIFY(error);
        QVERIFY2(error->startsWith(message), qPrintable(*error));
        QVERIFY2(error->size() > message.size() || !message.endsWith(u'\n'), qPrintable(*error)); // says why
        QCOMPARE(readAll(path), before);
        QVERIFY(edited.isIntact());
        QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The disk fills up in the middle of writing (a file size limit fails the same way,
    // with EFBIG): the atomic save leaves the old file and no temporary file behind.
    void diskFullWhileWriting()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("open.srt"));
        EditedDocument edited(path);
        edited.document.subtitleController().setText(QString(200 * 1024, u'x'), 1);
        edited.text = SubtitleParser::shared().serialize(edited.document.subtitleController().subtitles());

        rlimit old;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit limited = old;
        limited.rlim_cur = 4096;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN); // EFBIG instead of a signal
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const auto error = edited.document.write(path);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(error);
        QVERIFY2(error->startsWith(QStringLiteral("The file could not be saved.\n")), qPrintable(*error));
        QCOMPARE(readAll(path), QByteArray(kOriginal));
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("open.srt")});
        QVERIFY(edited.isIntact());
    }

    // The file was deleted behind the editor's back: saving puts it back.
    void savingOverAVanishedFileWritesItAgain()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("open.srt"));
        EditedDocument edited(path);
        QVERIFY(QFile::remove(path));
        QCOMPARE(edited.document.write(path), std::nullopt);
        QCOMPARE(QString::fromUtf8(readAll(path)), edited.text);
    }
};

QTEST_GUILESS_MAIN(tst_FailureInjection)
#include "tst_failureinjection.moc"
