#include "format/SccReader.h"

#include "format/Cea608.h"
#include "format/Cea608Decoder.h"
#include "format/FormatRepairs.h"
#include "format/TimeDisplay.h"

#include <QRegularExpression>

namespace {

// What a caption still shown at the end of the file is given past the last code.
constexpr qint64 framesShownAtEnd = 60;

// The words of a line, between blanks of any kind.
QList<QStringView> wordsOf(QStringView line)
{
    QList<QStringView> words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        const bool blank = i == line.size() || line[i].isSpace();
        if (blank && start >= 0) {
            words.append(line.sliced(start, i - start));
            start = -1;
        } else if (!blank && start < 0) {
            start = i;
        }
    }
    return words;
}

} // namespace

double SccReader::timeOfFrame(qint64 frame)
{
    return double(frame) * 1001 / 30000;
}

std::optional<qint64> SccReader::frameOf(QStringView timecode)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{1,6}):(\d\d):(\d\d)([:;.,])(\d\d)$)"));
    const auto match = pattern.match(timecode);
    if (!match.hasMatch())
        return std::nullopt;
    const QChar separator = match.capturedView(4).front();
    if (separator == u';' || separator == u',') {
        // Drop-frame labels, which the timecode display reads.
        QString dropFrame = timecode.toString();
        dropFrame[dropFrame.size() - 3] = u';';
        const auto seconds = TimeDisplay(TimeForm::Timecode, frameRate).parse(dropFrame);
        if (!seconds)
            return std::nullopt;
        return TimeDisplay::frameAt(seconds.value(), frameRate);
    }
    const qint64 minutes = match.capturedView(1).toLongLong() * 60 + match.capturedView(2).toInt();
    const int seconds = match.capturedView(3).toInt();
    const int frames = match.capturedView(5).toInt();
    if (match.capturedView(2).toInt() > 59 || seconds > 59 || frames > 29)
        return std::nullopt;
    return (minutes * 60 + seconds) * 30 + frames;
}

Expected<FormatReading, QString> SccReader::read(QStringView text, const FormatReadOptions &options)
{
    FormatRepairs repairs;
    Cea608Decoder decoder(options.sccChannel);
    qsizetype number = 0;
    bool headerSeen = false;
    qint64 lastFrame = 0;
    for (const QStringView whole : text.tokenize(u'\n')) {
        ++number;
        const QStringView line = FormatRepairs::contentOf(whole, number);
        if (line.isEmpty())
            continue;
        if (!headerSeen) {
            headerSeen = true;
            if (line == signature)
                continue;
            if (!options.repairing)
                return FormatRepairs::fault(number, whole, tr("Line %1 should be “%2”, which begins every SCC file.").arg(number).arg(signature));
            repairs.note(number, whole, tr("No “%1” line: read the file as SCC all the same.").arg(signature));
        }
        const auto words = wordsOf(line);
        const auto frame = frameOf(words.first());
        if (!frame) {
            if (!options.repairing)
                return FormatRepairs::fault(number, whole, tr("Line %1 should begin with a timecode such as “00:00:01;12”.").arg(number));
            repairs.note(number, whole, tr("No timecode: left the line out."));
            continue;
        }
        decoder.beginLine();
        qint64 at = *frame;
        bool parityNoted = false;
        bool wordNoted = false;
        for (const QStringView hex : words.sliced(1)) {
            bool ok = false;
            const uint pair = hex.toUInt(&ok, 16);
            if (!ok || hex.size() != 4) {
                if (!options.repairing)
                    return FormatRepairs::fault(number, whole, tr("Line %1 has “%2” where a pair of hex bytes such as “94ae” should be.").arg(number).arg(hex));
                if (!std::exchange(wordNoted, true))
                    repairs.note(number, whole, tr("Passed over what is no pair of hex bytes (“%1”).").arg(hex));
                ++at;
                continue;
            }
            const quint8 first = quint8(pair >> 8);
            const quint8 second = quint8(pair);
            if (!Cea608::hasOddParity(first) || !Cea608::hasOddParity(second)) {
                if (!options.repairing)
                    return FormatRepairs::fault(number, whole, tr("Line %1 has the pair “%2”, whose bytes should have odd parity.").arg(number).arg(hex));
                if (!std::exchange(parityNoted, true))
                    repairs.note(number, whole, tr("A byte without odd parity (in “%1”): read it without its parity bit.").arg(hex));
            }
            decoder.feed(first & 0x7F, second & 0x7F, at);
            lastFrame = std::max(lastFrame, at);
            ++at;
        }
    }
    auto keep = std::make_shared<FormatKeep>(SubtitleFormat::Scc);
    keep->header = text.toString();
    SubtitleList subtitles;
    qsizetype order = 0;
    for (Cea608Decoder::Caption &caption : decoder.finish(lastFrame + framesShownAtEnd)) {
        const double start = timeOfFrame(caption.start);
        const double end = timeOfFrame(caption.end);
        SubtitlePtr subtitle = Subtitle::create(caption.text, start, end);
        keep->keep(subtitle, FormatKeep::Cue{{}, {}, start, end, caption.text, caption.placement, order++});
        subtitles.append(std::move(subtitle));
    }
    return repairs.finish(std::move(subtitles), std::move(keep));
}
