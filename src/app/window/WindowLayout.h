#pragma once

#include <QVariantMap>

class QDockWidget;
class QMainWindow;
class QSplitter;
class QWidget;

// How a document window is arranged: the player and the list side by side over the
// timeline, the list over the text box, and the Problems panel shown or not. A new window
// takes the arrangement the user last made, or else the default, in which the timeline
// with the sound has a third of the window's height and grows with it.
class WindowLayout
{
public:
    WindowLayout(QMainWindow *window, QWidget *player, QWidget *list, QWidget *textBox, QWidget *timeline,
                 QDockWidget *problems);

    QSplitter *centralSplitter() const { return m_vertical; }

    // "splitter", "topSplitter", "listSplitter" (QSplitter states) and "problemsShown".
    QVariantMap save() const;
    // A state without a layout leaves the window to the last one the user made.
    void restore(const QVariantMap &state);
    // Sizes the panes once the window has its size: as restored, as last arranged, or
    // the default.
    void applyWhenShown();
    // Back to the default arrangement, which the next new window also takes.
    void reset();
    // Keeps this arrangement for the next new window.
    void remember() const;

    // The share of the window's height the timeline gets by default.
    static constexpr double timelineShare = 0.34;

private:
    bool restoreFrom(const QVariantMap &state);
    void applyDefault();

    QMainWindow *m_window;
    QSplitter *m_vertical;
    QSplitter *m_top;
    QSplitter *m_list;
    QDockWidget *m_problems;
    QVariantMap m_pending; // restored before the window had its size
    bool m_arranged = false;
};
