// Not a test: the list pane in a real window with generated subtitles, for screenshots.
//   list_demo [COUNT] [--edit ROW]
#include "app/Document.h"
#include "list/SubtitlesTableViewController.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? args[1].toInt() : 300;
    const int editRow = args.indexOf(QStringLiteral("--edit")) > 0 ? args[args.indexOf(QStringLiteral("--edit")) + 1].toInt() : -1;

    Document document;
    document.subtitleController().setDelegate(&document);
    document.subtitleController().setUndoManager(&document.undoManager());
    SubtitleList subtitles;
    subtitles.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double start = 1.0 + i * 2.75;
        QString text = QStringLiteral("Subtitle number %1 says something.").arg(i + 1);
        if (i % 3 == 1)
            text += QStringLiteral("\nAnd goes on to a second line.");
        if (i % 17 == 5)
            text += QStringLiteral("\nA third line\nand a fourth, which the row cannot show.");
        subtitles.append(std::make_shared<Subtitle>(text, start, start + 2.5));
    }
    document.subtitleController().setSubtitles(subtitles);

    SubtitlesTableViewController list(&document);
    list.setWindowTitle(QStringLiteral("Subtitle list"));
    list.resize(720, 560);
    list.show();
    if (count > 12)
        document.setSelectedSubtitleIndexes({10, 11});
    if (editRow >= 0) {
        QTimer::singleShot(200, &list, [&list, editRow] {
            list.beginEditingSubtitle(editRow);
            QTimer::singleShot(100, &list, [&list] {
                if (QWidget *editor = QApplication::focusWidget())
                    editor->setProperty("demo", true);
            });
        });
    }
    return app.exec();
}
