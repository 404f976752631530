#include "app/AppIcon.h"
#include "app/CommandLineTool.h"
#include "document/Document.h"
#include "app/DocumentController.h"
#include "app/DocumentWindow.h"
#include "app/TerminationSignals.h"
#include "app/Translator.h"
#include "player/VideoPlayerViewController.h"
#include "waveform/WaveformCommand.h"

#include "BuildInfo.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

#include <clocale>

namespace {

void setApplicationNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Cuewright"));
    QCoreApplication::setApplicationName(QStringLiteral("Cuewright"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CUEWRIGHT_VERSION));
}

// The modes for scripts run without a display; nullopt when the editor should start.
std::optional<int> runCommandLineMode(int argc, char *argv[])
{
    if (argc < 2 || !QByteArray(argv[1]).startsWith("--") || QByteArray(argv[1]) == "--video")
        return std::nullopt;
    QCoreApplication app(argc, argv);
    setApplicationNames();
    Translator::install(app);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.at(1) == QStringLiteral("--waveform")) {
        if (arguments.size() != 3) {
            err << QCoreApplication::translate("main", "usage: cuewright --waveform FILE") << Qt::endl;
            return 2;
        }
        return WaveformCommand::run(arguments.at(2), out, err);
    }
    return CommandLineTool::run(arguments, out, err);
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

    DocumentController controller;
    // A logout, a closed terminal or Ctrl+C keeps the unsaved work for the next start.
    TerminationSignals terminationSignals;
    QObject::connect(&terminationSignals, &TerminationSignals::received, &controller,
                     [&controller](int signalNumber) {
                         controller.keepUnsavedWork();
                         // Leaves every event loop, open dialogs' included.
                         QCoreApplication::exit(128 + signalNumber);
                     });
    QStringList files = QCoreApplication::arguments().mid(1);
    // --video FILE attaches a video to the first subtitle file given, or to the new document.
    QString video;
    if (const qsizetype option = files.indexOf(QStringLiteral("--video")); option >= 0 && option + 1 < files.size()) {
        video = files.takeAt(option + 1);
        files.removeAt(option);
    }
    bool opened = false;
    for (const QString &file : files) {
        Document *document = controller.openDocument(file);
        if (document && !video.isEmpty()) {
            DocumentController::windowOf(document)->videoPlayerViewController()->loadVideo(video);
            video.clear();
        }
        opened = document != nullptr || opened;
    }
    if (files.isEmpty()) {
        opened = controller.offerRecovery();
        opened = controller.restoreSession() || opened;
    }
    if (!opened && controller.documents().isEmpty())
        controller.newDocument();
    // Without a subtitle file, the video goes to the new (or first restored) document.
    if (!video.isEmpty() && !controller.documents().isEmpty())
        DocumentController::windowOf(controller.documents().first())->videoPlayerViewController()->loadVideo(video);
    return app.exec();
}
