#include "shots/ShotChangeScanner.h"

#include "shots/CutClassifier.h"
#include "shots/SmallFrame.h"
#include "shots/VideoFrameReader.h"

#include <algorithm>

ShotChangeScanner::ShotChangeScanner(std::unique_ptr<VideoFrameReader> reader)
    : m_reader(std::move(reader))
{
}

ShotChangeScanner::~ShotChangeScanner() = default;

Expected<std::unique_ptr<ShotChangeScanner>, QString> ShotChangeScanner::open(const QString &path)
{
    auto reader = VideoFrameReader::open(path);
    if (!reader)
        return reader.error();
    return std::unique_ptr<ShotChangeScanner>(new ShotChangeScanner(std::move(reader).value()));
}

double ShotChangeScanner::duration() const
{
    return m_reader->duration();
}

double ShotChangeScanner::frameRate() const
{
    return m_reader->frameRate();
}

void ShotChangeScanner::setThreadCount(int threads)
{
    m_reader->setThreadCount(threads);
}

QString ShotChangeScanner::errorString() const
{
    return m_error;
}

QList<double> ShotChangeScanner::scan(double start, double end, std::stop_token stop,
                                      const std::function<void(double reached)> &progress)
{
    m_error.clear();
    QList<double> cuts;
    if (!(end > start))
        return cuts;
    // The frames the first decision in the range looks back at, with a second to spare
    // for a frame rate that varies. A range near the start is read from the video's first
    // frame, as a whole scan is.
    const double rate = m_reader->frameRate() > 0 ? m_reader->frameRate() : 25;
    const double from = start - (CutClassifier::history + 2) / rate - 1;
    if (!m_reader->seek(std::max(from, 0.0))) {
        m_error = tr("The video cannot be read from %1 seconds on.").arg(std::max(from, 0.0));
        return cuts;
    }

    CutClassifier classifier;
    const auto collect = [&] {
        for (double time : classifier.takeCuts()) {
            if (time >= start && time < end)
                cuts.append(time);
        }
    };
    SmallFrame frame;
    bool decodedAny = false;
    for (;;) {
        if (stop.stop_requested())
            break;
        const VideoFrameReader::Status status = m_reader->read(frame);
        if (status == VideoFrameReader::Status::Failed)
            m_error = m_reader->errorString();
        else if (status == VideoFrameReader::Status::End && !decodedAny)
            m_error = tr("No frame of the video could be decoded.");
        if (status != VideoFrameReader::Status::Frame) {
            classifier.finish();
            collect();
            break;
        }
        decodedAny = true;
        classifier.push(frame);
        collect();
        if (progress)
            progress(std::min(frame.time, end));
        if (classifier.decidedBefore() >= end)
            break;
    }
    std::sort(cuts.begin(), cuts.end());
    return cuts;
}
