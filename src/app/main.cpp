#include "app/window/AppIcon.h"
#include "app/commandline/CommandLine.h"
#include "app/commandline/CommandLineTool.h"
#include "document/Document.h"
#include "app/lifecycle/DocumentController.h"
#include "app/window/DocumentWindow.h"
#include "app/lifecycle/InterruptedSaveQuestion.h"
#include "app/lifecycle/TerminationSignals.h"
#include "app/preferences/Translator.h"
#include "player/StyledSubtitleTrack.h"
#include "player/VideoPlayerViewController.h"

#include "BuildInfo.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include <clocale>

namespace {

void setApplicationNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Cuewright"));
    QCoreApplication::setApplicationName(QStringLiteral("Cuewright"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CUEWRIGHT_VERSION));
}

// The modes for scripts run without a display, and help and the version, which need
// none either; nullopt when the editor should start.
std::optional<int> runCommandLineMode(int argc, char *argv[])
{
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    const CommandLine::Mode mode = CommandLine::modeOf(given);
    // The editor's own start makes no console application first.
    if (!CommandLine::runsWithoutDisplay(mode))
        return std::nullopt;
    QCoreApplication app(argc, argv);
    setApplicationNames();
    Translator::install(app);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (mode == CommandLine::Mode::Help) {
        out << CommandLine::help();
        return 0;
    }
    if (mode == CommandLine::Mode::Version) {
        out << QCoreApplication::applicationName() << u' ' << QCoreApplication::applicationVersion() << Qt::endl;
        return 0;
    }
    return CommandLineTool::run(QCoreApplication::arguments(), out, err, CommandLineTool::Ending::Immediate);
}

void openStartingDocuments(DocumentController &controller, const CommandLine::Request &options,
                           const TerminationSignals &terminationSignals)
{
    const QStringList &files = options.operands;
    // --video FILE attaches a video to the first subtitle file given, or to the new document.
    QString video = options.video;
    bool opened = false;
    // What a killed process left: a file half written by a save, the player's private copies.
    InterruptedSaveQuestion::askAbout();
    StyledSubtitleTrack::removeAbandonedCopies();
    for (const QString &file : files) {
        if (terminationSignals.isEnding())
            return;
        Document *document = controller.openDocument(file);
        if (document && !video.isEmpty()) {
            controller.windowOf(document)->videoPlayerViewController()->loadVideo(video);
            video.clear();
        }
        opened = document != nullptr || opened;
    }
    if (files.isEmpty()) {
        opened = controller.offerRecovery();
        if (terminationSignals.isEnding())
            return;
        opened = controller.restoreSession() || opened;
    }
    if (terminationSignals.isEnding())
        return;
    if (!opened && controller.documents().isEmpty())
        controller.newDocument();
    // Without a subtitle file, the video goes to the new (or first restored) document.
    if (!video.isEmpty() && !controller.documents().isEmpty())
        controller.windowOf(controller.documents().first())->videoPlayerViewController()->loadVideo(video);
}

} // namespace

int main(int argc, char *argv[])
{
    if (const auto status = runCommandLineMode(argc, argv))
        return *status;

    QApplication app(argc, argv);
    setApplicationNames();
    Translator::install(app);
    QApplication::setWindowIcon(AppIcon::icon());
    QGuiApplication::setDesktopFileName(QStringLiteral("cuewright"));
    // libmpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");

    // Before anything can ask the user something: a signal during start-up keeps the work too.
    TerminationSignals terminationSignals;
    DocumentController controller;
    // A logout, a closed terminal or Ctrl+C keeps the unsaved work for the next start.
    QObject::connect(&terminationSignals, &TerminationSignals::received, &controller,
                     [&controller] { controller.keepUnsavedWork(); }, Qt::DirectConnection);
    // After Qt has taken its own options (-platform, -style…) out of the arguments.
    const auto options = CommandLine::parse(QCoreApplication::arguments());
    if (!options) {
        QTextStream(stderr) << options.error().message;
        return options.error().status;
    }
    // Inside the event loop, so that a signal ends a start-up dialog and the start-up
    // together, rather than the dialog alone.
    QTimer::singleShot(0, &controller, [&] { openStartingDocuments(controller, options.value(), terminationSignals); });
    return app.exec();
}
