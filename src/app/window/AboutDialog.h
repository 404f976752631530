#pragma once

#include <QDialog>
#include <QList>
#include <QString>

// Help ▸ About Cuewright: the version, the build number and the libraries the program
// runs on, with the versions found at run time (which may differ from those it was
// built against).
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    using QDialog::show;
    // Shows the About window of parent's window, raising it when it is open already.
    static void show(QWidget *parent);

    struct Library
    {
        QString name;
        QString version;
    };
    // Qt, libmpv, FFmpeg and ICU, in that order.
    static QList<Library> libraries();
};
