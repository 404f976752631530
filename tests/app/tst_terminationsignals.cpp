#include "app/DocumentController.h"
#include "app/RecoveryStore.h"
#include "app/TerminationSignals.h"
#include "document/Document.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The signals a row names, as numbers: "TERM HUP".
QList<int> signalNumbers(const QString &names)
{
    QList<int> numbers;
    for (const QString &name : names.split(u' ')) {
        if (name == QLatin1String("TERM"))
            numbers << SIGTERM;
        else if (name == QLatin1String("HUP"))
            numbers << SIGHUP;
        else if (name == QLatin1String("INT"))
            numbers << SIGINT;
    }
    return numbers;
}

// A program with unsaved work: the editor's own start and signal handling, with one edit
// made where a user would type it, told by a file once it is there.
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
    Document *document = controller.newDocument();
    document->subtitleController().setText(QStringLiteral("typed just before the logout"), 0);
    QFile ready(QString::fromLocal8Bit(argv[2]));
    if (!ready.open(QIODevice::WriteOnly))
        return 1;
    ready.close();
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
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
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
        QTest::addColumn<QString>("signalNames");
        QTest::newRow("SIGTERM") << "TERM";
        QTest::newRow("SIGTERM then SIGHUP (a logout)") << "TERM HUP";
        QTest::newRow("SIGINT twice (Ctrl+C pressed again)") << "INT INT";
    }

    void unsavedWorkIsKept()
    {
        QFETCH(QString, signalNames);
        const QString ready = m_home.filePath(QStringLiteral("ready"));
        QFile::remove(ready);
        QProcess process;
        start(process, QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), ready});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ready), 60000);
        endWith(process, signalNumbers(signalNames));
        const QList<RecoveryStore::Entry> entries = RecoveryStore(recoveryFolder()).claimOrphans();
        QCOMPARE(entries.size(), 1);
        QVERIFY(readAll(entries.first().recoveryPath).contains("typed just before the logout"));
    }

    // A question at start (the work a crash left, a repair) is no reason to stay: the
    // program ends, and what it was asking about is asked again at the next start.
    void aStartingQuestionEndsWithTheProgram_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("signalNames");
        QTest::newRow("recover, SIGTERM") << "recover" << "TERM";
        QTest::newRow("recover, SIGTERM then SIGHUP") << "recover" << "TERM HUP";
        QTest::newRow("repair, SIGTERM") << "repair" << "TERM";
        QTest::newRow("repair, SIGHUP then SIGTERM") << "repair" << "HUP TERM";
    }

    void aStartingQuestionEndsWithTheProgram()
    {
        QFETCH(QString, question);
        QFETCH(QString, signalNames);
        RecoveryStore store(recoveryFolder());
        QStringList arguments;
        QString ready = settingsFile(); // written at start, once the signals are handled
        if (question == QLatin1String("recover")) {
            QVERIFY(!store.save(QStringLiteral("left"), {Subtitle::create(QStringLiteral("Left by a crash"), 1, 2)}, {}));
            ready = recoveryFolder() + QStringLiteral("/left.lock"); // taken while offering it
        } else {
            const QString sloppy = m_home.filePath(QStringLiteral("sloppy.srt"));
            QFile file(sloppy);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("7\n0:0:1,5 --> 0:0:2,0\nHi\n");
            file.close();
            arguments << sloppy;
        }
        QProcess process;
        start(process, QStringLiteral(CUEWRIGHT_PROGRAM), arguments);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ready), 60000);
        endWith(process, signalNumbers(signalNames));
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
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0)
        return runEditingChild(argc, argv);
    QCoreApplication app(argc, argv);
    tst_TerminationSignals test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_terminationsignals.moc"
