#pragma once

#include <QColor>
#include <QString>

// The one red that marks what needs a look: a message about a problem, a clashing key, a
// quality problem in the list or on the timeline, a misspelt word. It reads as a warning
// on light and dark themes alike.
class ProblemColour
{
public:
    static QColor solid();
    // Behind text, light enough for the text to stay readable.
    static QColor background();
    // A style sheet that gives a label's text the colour.
    static QString labelStyleSheet();
};
