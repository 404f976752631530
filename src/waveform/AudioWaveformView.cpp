#include "waveform/AudioWaveformView.h"

#include "waveform/AudioWaveform.h"
#include "waveform/WaveformOutline.h"

#include <QPaintEvent>
#include <QPainter>

namespace {

const QColor FillColor = QColor::fromRgbF(0.51f, 0.81f, 0.67f, 0.5f);

} // namespace

AudioWaveformView::AudioWaveformView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

AudioWaveformView::~AudioWaveformView() = default;

std::shared_ptr<AudioWaveform> AudioWaveformView::audioWaveform() const
{
    return m_audioWaveform;
}

void AudioWaveformView::setAudioWaveform(std::shared_ptr<AudioWaveform> waveform)
{
    if (m_audioWaveform)
        disconnect(m_audioWaveform.get(), nullptr, this, nullptr);
    m_audioWaveform = std::move(waveform);
    if (m_audioWaveform) {
        connect(m_audioWaveform.get(), &AudioWaveform::samplesAppended, this, qOverload<>(&QWidget::update));
        connect(m_audioWaveform.get(), &AudioWaveform::finished, this, qOverload<>(&QWidget::update));
    }
    update();
}

void AudioWaveformView::setTimeScale(double pointsPerSecond, double offset)
{
    if (pointsPerSecond == m_pointsPerSecond && offset == m_offset)
        return;
    m_pointsPerSecond = pointsPerSecond;
    m_offset = offset;
    update();
}

void AudioWaveformView::paintEvent(QPaintEvent *event)
{
    if (!m_audioWaveform)
        return;
    const AudioWaveform &waveform = *m_audioWaveform;
    WaveformOutline::Input input;
    input.samples = &waveform.samples();
    if (waveform.samplesPerSecond() > 0)
        input.sampleWidth = m_pointsPerSecond / waveform.samplesPerSecond();
    input.originX = waveform.firstSampleTime() * m_pointsPerSecond - m_offset;
    input.floor = waveform.decibelFloor();
    input.maxSample = waveform.maxSample();
    input.height = height();

    QPainter painter(this);
    const QRect dirty = event->rect();
    const QPolygonF upper = WaveformOutline::upperHalf(input, dirty.left(), dirty.right() + 1);
    if (!upper.isEmpty()) {
        // The outline's y grows upwards from the centre line; mirror it below.
        const double centre = height() * 0.5;
        QPolygonF shape;
        shape.reserve(upper.size() * 2);
        for (const QPointF &point : upper)
            shape << QPointF(point.x(), centre - point.y());
        for (auto it = upper.crbegin(); it != upper.crend(); ++it)
            shape << QPointF(it->x(), centre + it->y());
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(FillColor);
        painter.drawPolygon(shape);
    }
    if (waveform.isReading())
        drawProgress(painter, waveform);
}

// What is left to decode; without a known length, only that reading goes on.
void AudioWaveformView::drawProgress(QPainter &painter, const AudioWaveform &waveform)
{
    const QRect visible = rect();
    const int estimated = waveform.estimatedSampleCount();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const QRect textArea = visible.adjusted(6, 2, -6, -2);
    if (estimated <= 0) {
        painter.drawText(textArea, Qt::AlignRight | Qt::AlignTop, tr("Reading audio…"));
        return;
    }
    const int percent = int(qMin<qint64>(100, waveform.samples().size() * 100LL / estimated));
    painter.drawText(textArea, Qt::AlignRight | Qt::AlignTop, tr("Reading audio… %1%").arg(percent));
    const int barWidth = visible.width() * percent / 100;
    painter.fillRect(QRect(visible.left(), visible.bottom() - 1, barWidth, 2), palette().color(QPalette::Highlight));
}
