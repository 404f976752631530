#include "app/lifecycle/DocumentController.h"
#include "app/window/DocumentWindow.h"
#include "app/lifecycle/RecoveryStore.h"
#include "app/lifecycle/TerminationSignals.h"
#include "document/Document.h"

#include "EncodingSamples.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>

#include <csignal>

using EncodingSamples::readAll;

namespace {

// A program with unsaved work: the editor's own start and signal handling, with edits
// made where a user would type them, told by a file once they are there. `windows` is
// "one", "two" (two windows with unsaved work) or "closing" (the window asks whether to
// save its work when the signal comes).
int runEditingChild(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Cuewright"));
    QCoreApplication::setApplicationName(QStringLiteral("Cuewright"));
    QSettings().setValue(QStringLiteral("autosaveDelaySeconds"), 600); // nothing written before the signal
    TerminationSignals terminationSignals;
    DocumentController controller;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &controller,
                     [&controller] { controller.keepUnsavedWork(); }, Qt::DirectConnection);
    const QString ready = QString::fromLocal8Bit(argv[2]);
    const QByteArray windows = argv[3];
    Document *document = controller.newDocument();
    document->subtitleController().setText(QStringLiteral("typed just before the logout"), 0);
    if (windows == "two")
        controller.newDocument()->subtitleController().setText(QStringLiteral("typed in another window"), 0);
    if (windows != "closing")
        return EncodingSamples::writeAll(ready, {}) ? app.exec() : 1;
    QTimer asked;
    QObject::connect(&asked, &QTimer::timeout, [&asked, &ready] {
        if (QApplication::activeModalWidget() && EncodingSamples::writeAll(ready, {}))
            asked.stop();
    });
    asked.start(10);
    QTimer::singleShot(0, &controller, [&controller, document] { controller.windowOf(document)->close(); });
    return app.exec();
}

} // namespace

// Real signals sent to a real process, as a logout, a closed terminal or Ctrl+C send
// them: the work is kept and the process ends with 128 + the signal's number.
class tst_TerminationSignals : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    QString recoveryFolder() const { return m_home.filePath(QStringLiteral("data/Cuewright/Cuewright/recovery")); }
    QString settingsFile() const { return m_home.filePath(QStringLiteral("config/Cuewright/Cuewright.conf")); }

    // A process of its own home, so that nothing of the user's is touched.
    void start(QProcess &process, const QString &program, const QStringList &arguments) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home.path());
        for (const QString folder : {"config", "data", "cache"})
            environment.insert(QStringLiteral("XDG_%1_HOME").arg(folder.toUpper()), m_home.filePath(folder));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start(program, arguments);
        QVERIFY(process.waitForStarted());
    }

    // Sends the signals back to back, as `kill -TERM PID; kill -HUP PID` does, and
    // expects the process to end with 128 + the first it took (signals pending together
    // are taken lowest number first).
    static void endWith(QProcess &process, const QList<int> &numbers)
    {
        for (int number : numbers)
            QCOMPARE(::kill(pid_t(process.processId()), number), 0);
        QVERIFY2(process.waitForFinished(60000), "still running");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(numbers.contains(process.exitCode() - 128), qPrintable(QString::number(process.exitCode())));
    }

private slots:
    void init()
    {
        for (const char *folder : {"config", "data", "cache"})
            QDir(m_home.filePath(QLatin1String(folder))).removeRecursively();
        QDir().mkpath(m_home.filePath(QStringLiteral("runtime")));
        QFile::setPermissions(m_home.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void unsavedWorkIsKept_data()
    {
        QTest::addColumn<QString>("windows");
        QTest::addColumn<QList<int>>("sent");
        QTest::newRow("SIGTERM then SIGHUP (a logout)") << "one" << QList<int>{SIGTERM, SIGHUP};
        QTest::newRow("SIGINT twice (Ctrl+C pressed again)") << "one" << QList<int>{SIGINT, SIGINT};
        QTest::newRow("SIGTERM, two windows") << "two" << QList<int>{SIGTERM};
        QTest::newRow("SIGHUP while closing a window asks to save") << "closing" << QList<int>{SIGHUP};
    }

    void unsavedWorkIsKept()
    {
        QFETCH(QString, windows);
        QFETCH(QList<int>, sent);
        const QString ready = m_home.filePath(QStringLiteral("ready"));
        QFile::remove(ready);
        QProcess process;
        start(process, QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), ready, windows});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ready), 60000);
        endWith(process, sent);
        QStringList kept;
        for (const RecoveryStore::Entry &entry : RecoveryStore(recoveryFolder()).claimOrphans())
            kept << QString::fromUtf8(readAll(entry.recoveryPath)).section(u'\n', 2, 2);
        kept.sort();
        QStringList typed{QStringLiteral("typed just before the logout")};
        if (windows == QLatin1String("two"))
            typed << QStringLiteral("typed in another window");
        typed.sort();
        QCOMPARE(kept, typed);
    }

    // A question at start (the work a crash left, a repair) is no reason to stay: the
    // program ends, and what it was asking about is asked again at the next start.
    void aStartingQuestionEndsWithTheProgram_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QList<int>>("sent");
        QTest::newRow("recover, SIGTERM then SIGHUP") << "recover" << QList<int>{SIGTERM, SIGHUP};
        QTest::newRow("repair, SIGTERM") << "repair" << QList<int>{SIGTERM};
        QTest::newRow("repair, SIGHUP then SIGTERM") << "repair" << QList<int>{SIGHUP, SIGTERM};
    }

    void aStartingQuestionEndsWithTheProgram()
    {
        QFETCH(QString, question);
        QFETCH(QList<int>, sent);
        RecoveryStore store(recoveryFolder());
        QStringList arguments;
        QString ready = settingsFile(); // written at start, once the signals are handled
        if (question == QLatin1String("recover")) {
            QVERIFY(store.save(QStringLiteral("left"), {Subtitle::create(QStringLiteral("Left by a crash"), 1, 2)}, {}));
            ready = recoveryFolder() + QStringLiteral("/left.lock"); // taken while offering it
        } else {
            arguments << m_home.filePath(QStringLiteral("sloppy.srt"));
            QVERIFY(EncodingSamples::writeAll(arguments.first(), "7\n0:0:1,5 --> 0:0:2,0\nHi\n"));
        }
        QProcess process;
        start(process, QStringLiteral(CUEWRIGHT_PROGRAM), arguments);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ready), 60000);
        endWith(process, sent);
        const QList<RecoveryStore::Entry> left = store.claimOrphans();
        QCOMPARE(left.size(), question == QLatin1String("recover") ? 1 : 0);
        for (const RecoveryStore::Entry &entry : left) {
            QVERIFY(readAll(entry.recoveryPath).contains("Left by a crash"));
            store.remove(entry.id);
        }
    }
};

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0)
        return runEditingChild(argc, argv);
    QCoreApplication app(argc, argv);
    tst_TerminationSignals test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_terminationsignals.moc"
