#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cuewright"));
    QLabel window(QStringLiteral("Cuewright"));
    window.resize(800, 500);
    window.show();
    return app.exec();
}
