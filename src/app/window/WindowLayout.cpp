#include "app/window/WindowLayout.h"

#include <QDockWidget>
#include <QMainWindow>
#include <QSettings>
#include <QSplitter>

#include <cmath>

namespace {
const QString lastLayoutKey = QStringLiteral("window/lastLayout");
const QString verticalKey = QStringLiteral("splitter");
const QString topKey = QStringLiteral("topSplitter");
const QString listKey = QStringLiteral("listSplitter");
const QString problemsKey = QStringLiteral("problemsShown");

QSplitter *splitter(Qt::Orientation orientation, QWidget *first, QWidget *second, int firstStretch, int secondStretch)
{
    auto *splitter = new QSplitter(orientation);
    splitter->addWidget(first);
    splitter->addWidget(second);
    splitter->setStretchFactor(0, firstStretch);
    splitter->setStretchFactor(1, secondStretch);
    splitter->setChildrenCollapsible(false);
    return splitter;
}
} // namespace

WindowLayout::WindowLayout(QMainWindow *window, QWidget *player, QWidget *list, QWidget *textBox, QWidget *timeline,
                           QDockWidget *problems)
    : m_window(window)
    , m_problems(problems)
{
    m_list = splitter(Qt::Vertical, list, textBox, 4, 1);
    m_top = splitter(Qt::Horizontal, player, m_list, 1, 1);
    // The timeline takes its share of every pixel the window grows by, not only of the first.
    timeline->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    m_vertical = splitter(Qt::Vertical, m_top, timeline, 2, 1);
}

QVariantMap WindowLayout::save() const
{
    return {{verticalKey, m_vertical->saveState()},
            {topKey, m_top->saveState()},
            {listKey, m_list->saveState()},
            {problemsKey, !m_problems->isHidden()}};
}

void WindowLayout::restore(const QVariantMap &state)
{
    if (!state.contains(verticalKey))
        return;
    if (m_window->isVisible())
        m_arranged = restoreFrom(state);
    else
        m_pending = state;
}

bool WindowLayout::restoreFrom(const QVariantMap &state)
{
    const bool restored = m_vertical->restoreState(state.value(verticalKey).toByteArray());
    m_top->restoreState(state.value(topKey).toByteArray());
    m_list->restoreState(state.value(listKey).toByteArray());
    m_problems->setVisible(state.value(problemsKey, false).toBool());
    return restored;
}

void WindowLayout::applyWhenShown()
{
    if (m_arranged)
        return;
    m_arranged = true;
    if (!m_pending.isEmpty() && restoreFrom(std::exchange(m_pending, {})))
        return;
    if (restoreFrom(QSettings().value(lastLayoutKey).toMap()))
        return;
    applyDefault();
}

void WindowLayout::applyDefault()
{
    const int height = m_vertical->height();
    const int timeline = int(std::lround(m_window->height() * timelineShare));
    m_vertical->setSizes({std::max(1, height - timeline), timeline});
    const int width = m_top->width();
    m_top->setSizes({width / 2, width - width / 2});
    const int listHeight = m_list->height();
    m_list->setSizes({listHeight * 4 / 5, listHeight - listHeight * 4 / 5});
    m_problems->hide();
}

void WindowLayout::reset()
{
    applyDefault();
    QSettings().remove(lastLayoutKey);
}

void WindowLayout::remember() const
{
    if (!m_arranged)
        return; // never shown: its sizes mean nothing
    QSettings().setValue(lastLayoutKey, save());
}
