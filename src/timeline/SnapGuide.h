#pragma once

#include <QObject>
#include <QTimer>

#include <optional>

// The line that shows for a moment where a dragged edge snapped to.
class SnapGuide : public QObject
{
    Q_OBJECT

public:
    explicit SnapGuide(QObject *parent = nullptr);

    // Shows the line at `time` seconds, until it times out or is hidden.
    void show(double time);
    void hide();
    std::optional<double> time() const;

signals:
    void changed();

private:
    std::optional<double> m_time;
    QTimer m_timer;
};
