// The go-to panel or the import window over a document window with the subtitle list, for
// looking at them under Xvfb:
//   panels_demo goto|import
// Selection changes and the panel's closing are printed, so a scripted session can check
// what real keystrokes and clicks did.
#include "app/Document.h"
#include "list/SubtitlesTableViewController.h"
#include "panels/GoToSubtitleViewController.h"
#include "panels/ImportSubtitlesViewController.h"

#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("goto");

    Document document;
    SubtitleController &controller = document.subtitleController();
    controller.setDelegate(&document);
    controller.setUndoManager(&document.undoManager());
    SubtitleList subtitles;
    for (int i = 0; i < 10; ++i)
        subtitles.append(std::make_shared<Subtitle>(QStringLiteral("Line number %1").arg(i + 1), 4.0 * i + 1, 4.0 * i + 3));
    controller.setSubtitles(subtitles);
    QObject::connect(&document, &Document::selectionChanged, [](const IndexSet &selection) {
        std::printf("selection:");
        for (int index : selection)
            std::printf(" %d", index);
        std::printf("\n");
        std::fflush(stdout);
    });

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Demo.srt"));
    window.setCentralWidget(new SubtitlesTableViewController(&document));
    window.setGeometry(100, 100, 900, 560);
    window.show();
    window.activateWindow();

    QTimer::singleShot(800, &window, [&] {
        if (mode == QLatin1String("import")) {
            ImportSubtitlesViewController::run(&document, &window);
            std::printf("imported: %d subtitles\n", controller.count());
        } else {
            auto *panel = GoToSubtitleViewController::open(&document, &window);
            QObject::connect(panel, &QObject::destroyed, [] {
                std::printf("panel closed\n");
                std::fflush(stdout);
            });
        }
        std::fflush(stdout);
    });
    return app.exec();
}
