#pragma once

#include <QPoint>
#include <QWidget>

// A small frameless panel that floats above its parent window and closes as soon as it
// stops being the active window. It can be moved by dragging its background.
//
// It never stands for a document: whoever opens it hands it the document to act on, so
// the document window stays the current document while the panel is up.
class TransientWindow : public QWidget
{
    Q_OBJECT

public:
    // The panel is deleted when it closes.
    explicit TransientWindow(QWidget *parent);

    // Shows the panel and makes it the active window.
    void present();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_wasActive = false;
    bool m_dragging = false;
    QPoint m_dragOffset;
};
