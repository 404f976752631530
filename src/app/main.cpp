#include "app/CommandLineTool.h"
#include "app/DocumentController.h"

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
    if (argc < 2 || !QByteArray(argv[1]).startsWith("--"))
        return std::nullopt;
    QCoreApplication app(argc, argv);
    setApplicationNames();
    QTextStream out(stdout);
    QTextStream err(stderr);
    return CommandLineTool::run(QCoreApplication::arguments(), out, err);
}

} // namespace

int main(int argc, char *argv[])
{
    if (const auto status = runCommandLineMode(argc, argv))
        return *status;

    QApplication app(argc, argv);
    setApplicationNames();
    QGuiApplication::setDesktopFileName(QStringLiteral("cuewright"));
    // libmpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");

    DocumentController controller;
    const QStringList files = QCoreApplication::arguments().mid(1);
    bool opened = false;
    for (const QString &file : files)
        opened = controller.openDocument(file) != nullptr || opened;
    if (files.isEmpty()) {
        opened = controller.offerRecovery();
        opened = controller.restoreSession() || opened;
    }
    if (!opened && controller.documents().isEmpty())
        controller.newDocument();
    return app.exec();
}
