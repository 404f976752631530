#pragma once

#include "panels/TimingDialog.h"

#include <optional>

class QComboBox;

// Edit ▸ Change Frame Rate: moves every time so that each subtitle stays on the same
// frame when the video's frame rate changes (25 to 23.976, and so on).
class FrameRateDialog : public TimingDialog
{
    Q_OBJECT

public:
    FrameRateDialog(Document *document, QWidget *parent = nullptr);

    // A typed rate; the rounded NTSC rates (23.976, 29.97, 59.94) mean their exact
    // values, 24000/1001 and so on. Absent unless a positive number.
    static std::optional<double> parseRate(const QString &text);

    QComboBox *fromRate() const { return m_from; }
    QComboBox *toRate() const { return m_to; }

protected:
    bool apply() override;

private:
    QComboBox *addRateRow(const QString &label, const QString &rate);

    QComboBox *m_from;
    QComboBox *m_to;
};
