#include "panels/TransientWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TransientWindow::TransientWindow(QWidget *parent)
    // A tool window stays above its parent and is not listed as a window of its own;
    // without a frame it reads as a panel, not as a document.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void TransientWindow::present()
{
    adjustSize();
    if (QWidget *owner = parentWidget()) {
        // Over the upper part of the window it acts on, where the eye already is.
        const QRect frame = owner->window()->frameGeometry();
        move(frame.center().x() - width() / 2, frame.top() + frame.height() / 4);
    }
    show();
    raise();
    activateWindow();
}

void TransientWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    // Not isActiveWindow(): some styles count a tool window as active while its parent is.
    if (QApplication::activeWindow() == this)
        m_wasActive = true;
    else if (m_wasActive)
        close(); // the user went elsewhere
}

void TransientWindow::closeEvent(QCloseEvent *event)
{
    // Closing from the keyboard hands the keyboard back to the window underneath; a
    // click elsewhere has already chosen the next window.
    if (QApplication::activeWindow() == this) {
        if (QWidget *owner = parentWidget())
            owner->window()->activateWindow();
    }
    QWidget::closeEvent(event);
}

void TransientWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

void TransientWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void TransientWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return QWidget::mouseMoveEvent(event);
    move(event->globalPosition().toPoint() - m_dragOffset);
}

void TransientWindow::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void TransientWindow::paintEvent(QPaintEvent *)
{
    // Without a frame the panel draws its own edge, or it would melt into the window below.
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
