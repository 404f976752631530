#pragma once

#include <QObject>
#include <QPointF>

class QWidget;

// Turns the left-button mouse events of one widget into press, click and pan gestures:
// a press that moves a few points becomes a pan, one that does not becomes a click on
// release. Escape or losing the keyboard focus cancels a pan. Positions are in the
// widget's coordinates.
class PanClickRecognizer : public QObject
{
    Q_OBJECT

public:
    static constexpr qreal panThreshold = 3;

    explicit PanClickRecognizer(QWidget *widget);

signals:
    void pressed(QPointF position, Qt::KeyboardModifiers modifiers);
    void clicked(QPointF position, Qt::KeyboardModifiers modifiers);
    void panBegan(QPointF position, Qt::KeyboardModifiers modifiers);
    void panChanged(QPointF position, QPointF translation, Qt::KeyboardModifiers modifiers);
    void panEnded(QPointF position, QPointF translation, Qt::KeyboardModifiers modifiers);
    void panCancelled();
    // The pointer moved with no button held.
    void hovered(QPointF position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cancel();

    QWidget *m_widget;
    bool m_pressed = false;
    bool m_panning = false;
    QPointF m_pressPosition;
};
