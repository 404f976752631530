#include "media/WaveformPainter.h"

#include "media/AudioWaveform.h"
#include "media/WaveformOutline.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPalette>

namespace {

const QColor FillColor = QColor::fromRgbF(0.51f, 0.81f, 0.67f, 0.5f);

// What is left to decode; without a known length, only that reading goes on.
void paintProgress(QPainter &painter, const QRectF &area, const AudioWaveform &waveform, const QPalette &palette)
{
    const int estimated = waveform.estimatedSampleCount();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(palette.color(QPalette::PlaceholderText));
    const QRectF textArea = area.adjusted(6, 2, -6, -2);
    if (estimated <= 0) {
        painter.drawText(textArea, Qt::AlignRight | Qt::AlignTop,
                         QCoreApplication::translate("AudioWaveformView", "Reading audio…"));
        return;
    }
    qint64 decoded = waveform.samples().size();
    for (const AudioWaveform::PartAhead &part : waveform.partsAhead())
        decoded += part.samples.size();
    const int percent = int(qMin<qint64>(100, decoded * 100 / estimated));
    painter.drawText(textArea, Qt::AlignRight | Qt::AlignTop,
                     QCoreApplication::translate("AudioWaveformView", "Reading audio… %1%").arg(percent));
    const double barWidth = area.width() * percent / 100;
    painter.fillRect(QRectF(area.left(), area.bottom() - 2, barWidth, 2), palette.color(QPalette::Highlight));
}

// One stretch of points, mirrored about the centre line.
void paintOutline(QPainter &painter, const QRectF &area, const WaveformOutline::Input &input)
{
    const QPolygonF upper = WaveformOutline::upperHalf(input, area.left(), area.right() + 1);
    if (upper.isEmpty())
        return;
    // The outline's y grows upwards from the centre line; mirror it below.
    const double centre = area.center().y();
    QPolygonF shape;
    shape.reserve(upper.size() * 2);
    for (const QPointF &point : upper)
        shape << QPointF(point.x(), centre - point.y());
    for (auto it = upper.crbegin(); it != upper.crend(); ++it)
        shape << QPointF(it->x(), centre + it->y());
    painter.drawPolygon(shape);
}

} // namespace

void WaveformPainter::paint(QPainter &painter, const QRectF &area, const AudioWaveform &waveform, Scale scale,
                            const QPalette &palette)
{
    WaveformOutline::Input input;
    input.samples = &waveform.samples();
    if (waveform.samplesPerSecond() > 0)
        input.sampleWidth = scale.pointsPerSecond / waveform.samplesPerSecond();
    input.originX = waveform.firstSampleTime() * scale.pointsPerSecond - scale.offset;
    input.floor = waveform.decibelFloor();
    input.maxSample = waveform.maxSample();
    input.height = area.height();
    input.zoom = scale.verticalZoom;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(FillColor);
    paintOutline(painter, area, input);
    // Parts read at once come in ahead of their turn, with gaps before them.
    const QList<AudioWaveform::PartAhead> parts = waveform.partsAhead();
    for (const AudioWaveform::PartAhead &part : parts) {
        input.samples = &part.samples;
        input.originX = part.firstSampleTime * scale.pointsPerSecond - scale.offset;
        paintOutline(painter, area, input);
    }
    if (waveform.isReading())
        paintProgress(painter, area, waveform, palette);
    painter.restore();
}
