#include "timeline/PanClickRecognizer.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

PanClickRecognizer::PanClickRecognizer(QWidget *widget)
    : QObject(widget)
    , m_widget(widget)
{
    widget->setMouseTracking(true);
    widget->setFocusPolicy(Qt::ClickFocus);
    widget->installEventFilter(this);
}

bool PanClickRecognizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_widget)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_pressed = true;
        m_panning = false;
        m_pressPosition = mouse->position();
        emit pressed(m_pressPosition, mouse->modifiers());
        return true;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_pressed || !(mouse->buttons() & Qt::LeftButton)) {
            if (!m_pressed)
                emit hovered(mouse->position());
            return false;
        }
        const QPointF translation = mouse->position() - m_pressPosition;
        if (!m_panning) {
            if (translation.manhattanLength() < panThreshold)
                return true;
            m_panning = true;
            // The pan starts where the button went down, so what was grabbed is what moves.
            emit panBegan(m_pressPosition, mouse->modifiers());
        }
        emit panChanged(mouse->position(), translation, mouse->modifiers());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !m_pressed)
            return false;
        m_pressed = false;
        if (m_panning) {
            m_panning = false;
            emit panEnded(mouse->position(), mouse->position() - m_pressPosition, mouse->modifiers());
        } else {
            emit clicked(mouse->position(), mouse->modifiers());
        }
        return true;
    }
    case QEvent::KeyPress:
        if (m_panning && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            cancel();
            return true;
        }
        return false;
    case QEvent::FocusOut:
    case QEvent::Hide:
        cancel();
        return false;
    default:
        return false;
    }
}

void PanClickRecognizer::cancel()
{
    const bool wasPanning = m_panning;
    m_pressed = false;
    m_panning = false;
    if (wasPanning)
        emit panCancelled();
}
