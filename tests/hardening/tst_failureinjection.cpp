#include "document/Document.h"
#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "format/SubtitleParser.h"
#include "player/MpvPlayer.h"
#include "waveform/AudioWaveform.h"

#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

// Files that cannot be read or written, and media that cannot be decoded: each failure
// comes back as a message, the file on disk stays as it was, and an open document keeps
// its subtitles and its unsaved changes.
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
            if (!file.open(QIODevice::WriteOnly))
                qFatal("cannot write %s", qPrintable(path));
            file.write(kOriginal);
            file.close();
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

    void readFailuresKeepTheDocument_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("message");
        // "@" is the temporary folder; each target is made in the test below
        QTest::newRow("a folder") << "@/folder.srt" << "The file could not be opened because it is a folder.";
        QTest::newRow("a file that vanished") << "@/gone.srt"
                                              << "The file could not be opened because it does not exist.";
        QTest::newRow("2 GB, sparse") << "@/huge.srt"
                                      << "The file could not be opened because it is larger than 256 MB.";
        QTest::newRow("an endless device") << "/dev/zero"
                                           << "The file could not be opened because it is not a regular file.";
        QTest::newRow("random bytes") << "@/noise.srt" << "";
    }
    void readFailuresKeepTheDocument()
    {
        QFETCH(QString, target);
        QFETCH(QString, message);
        QTemporaryDir dir;
        EditedDocument edited(dir.filePath(QStringLiteral("open.srt")));
        const QString path = target.replace(u'@', dir.path());

        if (path.endsWith(QStringLiteral("folder.srt"))) {
            QVERIFY(QDir().mkdir(path));
        } else if (path.endsWith(QStringLiteral("huge.srt"))) {
            QFile huge(path);
            QVERIFY(huge.open(QIODevice::WriteOnly));
            QVERIFY(huge.resize(qint64(2) * 1024 * 1024 * 1024));
        } else if (path.endsWith(QStringLiteral("noise.srt"))) {
            QFile noise(path);
            QVERIFY(noise.open(QIODevice::WriteOnly));
            QRandomGenerator random(9);
            QByteArray bytes(256 * 1024, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
            noise.write(bytes);
        }

        const auto error = edited.document.read(path);
        QVERIFY(error);
        qInfo("%s", qPrintable(QString(*error).replace(u'\n', u' ')));
        if (message.isEmpty()) // the decoder's or the parser's own message
            QVERIFY2(error->size() > 10, qPrintable(*error));
        else
            QCOMPARE(*error, message);
        QVERIFY(edited.isIntact());
    }

    void unreadableFile()
    {
        if (geteuid() == 0)
            QSKIP("running as root: permissions do not stop reading");
        QTemporaryDir dir;
        EditedDocument edited(dir.filePath(QStringLiteral("open.srt")));
        const QString path = dir.filePath(QStringLiteral("locked.srt"));
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        QVERIFY(QFile::setPermissions(path, {}));
        const auto error = edited.document.read(path);
        QVERIFY(error);
        QVERIFY2(error->startsWith(QStringLiteral("The file could not be opened.\n")), qPrintable(*error));
        QVERIFY(edited.isIntact());
    }

    // An empty file is a valid subtitle file without subtitles.
    void emptyFileReadsAsNoSubtitles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("empty.srt"));
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        Document document;
        QCOMPARE(document.read(path), std::nullopt);
        QCOMPARE(document.subtitleController().count(), 0);
        QCOMPARE(document.encoding(), std::optional<int>(TextEncoding::Utf8));
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
        qInfo("%s", qPrintable(QString(*error).replace(u'\n', u' ')));
        QVERIFY2(error->startsWith(message), qPrintable(*error));
        QVERIFY2(error->size() > message.size() || !message.endsWith(u'\n'), qPrintable(*error)); // says why
        QCOMPARE(readAll(path), before);
        QVERIFY(edited.isIntact());
        QFile::setPermissions(dir.filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The disk fills up in the middle of writing: the atomic save leaves the old file and
    // no temporary file behind. Either a real 64 kB tmpfs (where the test may mount one)
    // or a file size limit, which fails the same way with EFBIG.
    void diskFullWhileWriting_data()
    {
        QTest::addColumn<bool>("tmpfs");
        QTest::newRow("a tiny tmpfs") << true;
        QTest::newRow("a file size limit") << false;
    }
    void diskFullWhileWriting()
    {
        QFETCH(bool, tmpfs);
        QTemporaryDir dir;
        const QByteArray folder = dir.path().toLocal8Bit();
        if (tmpfs && mount("tmpfs", folder.constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("cannot mount a tmpfs here");
        const auto unmount = qScopeGuard([&] {
            if (tmpfs)
                umount2(folder.constData(), MNT_DETACH);
        });
        const QString path = dir.filePath(QStringLiteral("open.srt"));
        EditedDocument edited(path);
        edited.document.subtitleController().setText(QString(200 * 1024, u'x'), 1);
        edited.text = SubtitleParser::shared().serialize(edited.document.subtitleController().subtitles());

        rlimit old;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
        rlimit limited = old;
        if (!tmpfs)
            limited.rlim_cur = 4096;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN); // EFBIG instead of a signal
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const auto error = edited.document.write(path);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(error);
        QVERIFY2(error->startsWith(QStringLiteral("The file could not be saved.\n")), qPrintable(*error));
        qInfo("%s", qPrintable(QString(*error).replace(u'\n', u' ')));
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

    // Damaged media: no crash, no hang; either nothing or a clean failure.
    void damagedVideo()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.mp4"));
        TestMedia::VideoOptions options;
        options.seconds = 2;
        QVERIFY(TestMedia::makeVideo(good, options));
        const QByteArray bytes = readAll(good);

        QByteArray scrambled = bytes;
        QRandomGenerator random(4);
        for (qsizetype i = scrambled.size() / 4; i < scrambled.size() * 3 / 4; ++i)
            scrambled[i] = char(random.bounded(256));
        const QList<std::pair<QString, QByteArray>> damaged{
            {QStringLiteral("truncated.mp4"), bytes.first(bytes.size() / 3)},
            {QStringLiteral("scrambled.mp4"), scrambled},
            {QStringLiteral("header only.mp4"), bytes.first(64)},
            {QStringLiteral("empty.mp4"), QByteArray()},
        };
        for (const auto &[name, content] : damaged) {
            const QString path = dir.filePath(name);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
            file.close();

            if (const auto waveform = AudioWaveform::create(path)) {
                QSignalSpy finished(waveform.get(), &AudioWaveform::finished);
                waveform->load(0, 2, 48);
                QVERIFY2(finished.wait(20000), qPrintable(name));
            }

            MpvPlayer player(MpvPlayer::Output::Headless);
            QSignalSpy failed(&player, &Player::failed);
            player.load(path);
            const bool settled = QTest::qWaitFor([&] { return player.isLoaded() || !failed.isEmpty(); }, 10000);
            QVERIFY2(settled, qPrintable(name));
            if (!failed.isEmpty())
                QVERIFY(!failed.first().first().toString().isEmpty());
        }
    }
};

QTEST_MAIN(tst_FailureInjection)
#include "tst_failureinjection.moc"
