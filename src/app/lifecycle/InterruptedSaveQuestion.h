#pragma once

#include <QCoreApplication>

class QWidget;

// At start, offers back the content a file had before a save into it was cut short (a
// kill, a power cut), one question per file; what no file needs is cleared quietly.
class InterruptedSaveQuestion
{
    Q_DECLARE_TR_FUNCTIONS(InterruptedSaveQuestion)

public:
    static void askAbout(QWidget *parent = nullptr);
};
