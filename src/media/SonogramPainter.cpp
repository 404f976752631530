#include "media/SonogramPainter.h"

#include "media/AudioSonogram.h"
#include "media/SonogramColumns.h"
#include "media/SonogramPalette.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// Quieter than this below the loudest level is black: the noise floor of a film's sound.
constexpr double ShownDecibels = 70;

// The colour of each level byte, scaled so that the loudest of the file is the brightest.
std::array<QRgb, 256> coloursFor(int loudest)
{
    const double top = SonogramColumns::decibelsOf(uchar(loudest));
    std::array<QRgb, 256> colours{};
    for (int level = 0; level < 256; ++level) {
        const double below = top - SonogramColumns::decibelsOf(uchar(level));
        colours[size_t(level)] = SonogramPalette::colour(1 - below / ShownDecibels);
    }
    return colours;
}

void paintProgress(QPainter &painter, const QRectF &area, const AudioSonogram &sonogram,
                   const QPalette &palette)
{
    const int percent = int(std::lround(sonogram.progress() * 100));
    painter.setPen(palette.color(QPalette::PlaceholderText));
    painter.drawText(area.adjusted(6, 2, -6, -2), Qt::AlignRight | Qt::AlignTop,
                     QCoreApplication::translate("SpectrogramView", "Computing spectrogram… %1%").arg(percent));
}

} // namespace

void SonogramPainter::paint(QPainter &painter, const QRectF &area, const AudioSonogram &sonogram, Scale scale,
                               const QPalette &palette)
{
    const int left = int(std::floor(area.left()));
    const int width = int(std::ceil(area.right())) - left;
    const int resolution = AudioSonogram::resolutionFor(scale.pointsPerSecond);
    const AudioSonogram::Resolution &columns = AudioSonogram::resolutions()[size_t(resolution)];
    // The joined columns, and those computed ahead of them, each a run from its own column.
    struct Run
    {
        qsizetype first = 0;
        qsizetype count = 0;
        const uchar *levels = nullptr;
    };
    constexpr int rows = SonogramColumns::rows;
    const QList<AudioSonogram::PartAhead> ahead = sonogram.partsAhead(resolution);
    std::vector<Run> runs{{0, sonogram.columnCount(resolution),
                           reinterpret_cast<const uchar *>(sonogram.columns(resolution).constData())}};
    for (const AudioSonogram::PartAhead &part : ahead)
        runs.push_back({part.firstColumn, part.columns.size() / rows, reinterpret_cast<const uchar *>(part.columns.constData())});
    const bool any = std::any_of(runs.cbegin(), runs.cend(), [](const Run &run) { return run.count > 0; });
    if (width > 0 && any && scale.pointsPerSecond > 0) {
        const std::array<QRgb, 256> colours = coloursFor(sonogram.loudest());
        // Column c spans the hop around its middle.
        const double perSecond = columns.columnsPerSecond();
        const double firstStart = columns.firstColumnMiddle() - 0.5 / perSecond;
        const auto columnAt = [&](double x) {
            return (x + scale.offset) / scale.pointsPerSecond * perSecond - firstStart * perSecond;
        };
        QImage image(width, rows, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        std::array<uchar, rows> loudest{};
        for (int x = 0; x < width; ++x) {
            const qsizetype first = qsizetype(std::floor(columnAt(left + x)));
            const qsizetype last = std::max(first, qsizetype(std::ceil(columnAt(left + x + 1))) - 1);
            loudest.fill(0);
            bool covered = false;
            for (const Run &run : runs) {
                const qsizetype from = std::max(first, run.first);
                const qsizetype to = std::min(last, run.first + run.count - 1);
                for (qsizetype c = from; c <= to; ++c) {
                    const uchar *column = run.levels + (c - run.first) * rows;
                    for (int row = 0; row < rows; ++row)
                        loudest[size_t(row)] = std::max(loudest[size_t(row)], column[row]);
                    covered = true;
                }
            }
            if (!covered)
                continue;
            for (int row = 0; row < rows; ++row)
                reinterpret_cast<QRgb *>(image.scanLine(rows - 1 - row))[x] = colours[loudest[size_t(row)]];
        }
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(QRectF(left, area.top(), width, area.height()), image);
        painter.restore();
    }
    if (sonogram.isReading())
        paintProgress(painter, area, sonogram, palette);
}
