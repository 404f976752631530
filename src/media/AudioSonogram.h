#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class MediaCache;
class SoundSink;
class WorkerThreads;

// The sonogram of one of a media file's audio tracks at a few resolutions, from short FFT
// windows (sharp in time, for a zoomed-in timeline) to long ones (sharp in pitch, for a
// zoomed-out one): columns of SonogramColumns::rows bytes, computed from the sound mixed to
// mono at SonogramColumns::sampleRate by its sink, on the workers of the decoding that feeds
// it, part by part, and appended on the GUI thread in order as the parts join. Kept in the
// user's cache once computed in full, so that a file seen before has its sonogram at once.
// Lives on the thread that makes it; may go while the decoding that feeds it goes on.
class AudioSonogram : public QObject
{
    Q_OBJECT

public:
    struct Resolution
    {
        int windowSize = 0; // samples
        int hop = 0;        // samples between columns
        double columnsPerSecond() const;
        // Where column 0's middle lies, in seconds.
        double firstColumnMiddle() const;
    };
    static constexpr int resolutionCount = 3;
    // Finest in time first.
    static const std::array<Resolution, resolutionCount> &resolutions();
    // The resolution to draw at a zoom: the finest whose columns are at least a point wide.
    static int resolutionFor(double pointsPerSecond);

    // duration: of the sound, as far as known (0 when not), for the progress shown; the
    // track is counted from 1, as AudioTrack numbers them.
    AudioSonogram(const QString &path, double duration, int audioTrack = 1);
    ~AudioSonogram() override;

    // The user's cache unless set otherwise; nullptr keeps nothing. Before sink().
    void setCache(std::shared_ptr<MediaCache> cache);
    // What computes the columns from a decoding of the file's sound (AudioWaveform::addSink),
    // or takes them from the cache; one per sonogram, later calls give nothing.
    std::shared_ptr<SoundSink> sink();
    bool hasStarted() const { return m_started; }
    bool isReading() const { return m_reading; }
    // False when the sound could not be decoded to its end.
    bool isComplete() const { return m_complete; }

    QString path() const { return m_path; }
    int audioTrack() const { return m_audioTrack; }
    double duration() const { return m_duration; }
    // SonogramColumns::rows bytes per column, the lowest band first.
    const QByteArray &columns(int resolution) const;
    qsizetype columnCount(int resolution) const;
    // Columns computed ahead of columns() by parts of the decoding that wait for the parts
    // before them to join, each from its own column on. Empty once the reading is done.
    struct PartAhead
    {
        qsizetype firstColumn = 0;
        QByteArray columns;
    };
    QList<PartAhead> partsAhead(int resolution) const;
    // The loudest level so far (a byte of SonogramColumns), to scale the colours by.
    int loudest() const { return m_loudest; }
    // 0..1 while reading, as far as the duration is known.
    double progress() const;

    // The number a sonogram is kept under in its cache; raised whenever the columns'
    // arithmetic changes, so that older entries are computed again.
    static constexpr int cacheSeries = 1;
    // How a whole sonogram is laid out in the cache, and read back: nothing when the
    // bytes do not hold this program's resolutions and bands.
    static QByteArray serialise(const std::array<QByteArray, resolutionCount> &columns);
    static std::optional<std::array<QByteArray, resolutionCount>> deserialise(const QByteArray &bytes);

signals:
    void columnsAppended();
    // Once, after the last columns (also when the reading failed).
    void finished();

private:
    using Batch = std::array<QByteArray, resolutionCount>;
    using ColumnIndexes = std::array<qsizetype, resolutionCount>;
    class Sink;
    class SinkPart;
    struct Link;
    // A part of the decoding: its columns wait until every part before it has joined.
    struct Part
    {
        ColumnIndexes next{}; // of its next columns, in the whole sonogram
        Batch pending;
        bool done = false;
        bool complete = false;
    };
    void restored(const Batch &whole);
    void beginPart(int index, const ColumnIndexes &first, bool last);
    void appendPart(int index, const Batch &batch);
    void finishPart(int index, bool complete);
    void join(Part &part, const Batch &batch);
    void finishReading(bool complete, bool fromCache);

    QString m_path;
    int m_audioTrack = 1;
    double m_duration = 0;
    std::shared_ptr<MediaCache> m_cache;
    std::array<QByteArray, resolutionCount> m_columns;
    int m_loudest = 0;
    bool m_started = false;
    bool m_reading = false;
    bool m_complete = true;
    std::vector<Part> m_parts;
    size_t m_currentPart = 0; // the one joining
    int m_partCount = -1;     // known once the last one begins
    std::shared_ptr<Link> m_link; // what the sink's parts post through, cut when this goes
    std::unique_ptr<WorkerThreads> m_workers; // its stores in the cache
};
