#include "format/SubtitleFormatIo.h"

#include "format/AssReader.h"
#include "format/AssWriter.h"
#include "format/EbuStlReader.h"
#include "format/EbuStlWriter.h"
#include "format/FormatRepairs.h"
#include "format/MarkupTokenizer.h"
#include "format/MicroDvdReader.h"
#include "format/SccReader.h"
#include "format/SccWriter.h"
#include "format/Mpl2Reader.h"
#include "format/SpeakerText.h"
#include "format/SubViewerReader.h"
#include "format/SubtitleParser.h"
#include "format/TolerantSubtitleReader.h"
#include "format/TtmlReader.h"
#include "format/TtmlWriter.h"
#include "format/WebVttReader.h"
#include "format/WebVttWriter.h"
#include "format/WrittenTimes.h"

#include <algorithm>
#include <cmath>

namespace {

Expected<FormatReading, QString> readIn(SubtitleFormat::Id format, QStringView text, const FormatReadOptions &options)
{
    switch (format) {
    case SubtitleFormat::Srt:
        if (options.repairing) {
            auto result = TolerantSubtitleReader::read(text);
            if (!result)
                return result.error();
            TolerantSubtitleReader::Result repaired = std::move(result).value();
            return FormatReading{std::move(repaired.subtitles), nullptr, std::move(repaired.repairs), repaired.unlistedRepairs};
        } else {
            auto subtitles = SubtitleParser::shared().parse(text);
            if (!subtitles)
                return subtitles.error().message(text);
            return FormatReading{std::move(subtitles).value(), nullptr};
        }
    case SubtitleFormat::WebVtt:
        return WebVttReader::read(text, options);
    case SubtitleFormat::Ass:
    case SubtitleFormat::Ssa:
        return AssReader::read(format, text, options);
    case SubtitleFormat::Ttml:
        return TtmlReader::read(text.toString(), options);
    case SubtitleFormat::MicroDvd:
        return MicroDvdReader::read(text, options);
    case SubtitleFormat::SubViewer:
        return SubViewerReader::read(text, options);
    case SubtitleFormat::Mpl2:
        return Mpl2Reader::read(text, options);
    case SubtitleFormat::Scc:
        return SccReader::read(text, options);
    case SubtitleFormat::EbuStl:
        return EbuStlReader::read(text);
    }
    return SubtitleFormatIo::tr("%1 files cannot be read.").arg(SubtitleFormat::name(format));
}

// A repairing read that mended something and kept no subtitle has not read the file.
Expected<FormatReading, QString> refusedWhenEmpty(SubtitleFormat::Id format, Expected<FormatReading, QString> result,
                                                  const FormatReadOptions &options)
{
    if (result && options.repairing) {
        const FormatReading &read = result.value();
        if (auto refusal = FormatRepairs::refusalOfNothing(format, read.subtitles.size(), read.repairs))
            return *refusal;
    }
    return result;
}

} // namespace

Expected<FormatReading, QString> SubtitleFormatIo::read(SubtitleFormat::Id format, const QString &text,
                                                        const FormatReadOptions &options)
{
    // TTML keeps views into the text it is given: handing it the string itself spares a copy.
    if (format == SubtitleFormat::Ttml)
        return refusedWhenEmpty(format, TtmlReader::read(text, options), options);
    return read(format, QStringView(text), options);
}

Expected<FormatReading, QString> SubtitleFormatIo::read(SubtitleFormat::Id format, QStringView text,
                                                        const FormatReadOptions &options)
{
    return refusedWhenEmpty(format, readIn(format, text, options), options);
}

QString SubtitleFormatIo::write(SubtitleFormat::Id format, const SubtitleList &subtitles, const FormatKeep *keep)
{
    Q_ASSERT(SubtitleFormat::isWritable(format));
    // An ASS event's speaker is a WebVTT voice.
    if (format == SubtitleFormat::WebVtt && keep && keep->format() != format) {
        if (const auto voiced = SpeakerText::voiced(subtitles, *keep))
            return write(format, *voiced, nullptr);
    }
    if (keep && keep->format() != format)
        keep = nullptr;
    // Times the format cannot hold would make a file its readers refuse.
    if (const auto fitted = WrittenTimes::fitted(format, subtitles, keep))
        return write(format, fitted->subtitles, fitted->keep.get());
    switch (format) {
    case SubtitleFormat::Srt:
        return SubtitleParser::shared().serialize(subtitles);
    case SubtitleFormat::WebVtt:
        return WebVttWriter::write(subtitles, keep);
    case SubtitleFormat::Ass:
    case SubtitleFormat::Ssa:
        return AssWriter::write(format, subtitles, keep);
    case SubtitleFormat::Ttml:
        return TtmlWriter::write(subtitles, keep);
    case SubtitleFormat::Scc:
        return SccWriter::write(subtitles, keep);
    case SubtitleFormat::EbuStl: {
        // One byte to a character; nothing when the subtitles cannot be written (the
        // byte path, SubtitleFile's, says why).
        const auto bytes = EbuStlWriter::write(subtitles, keep);
        return bytes ? QString::fromLatin1(bytes.value()) : QString();
    }
    case SubtitleFormat::MicroDvd:
    case SubtitleFormat::SubViewer:
    case SubtitleFormat::Mpl2:
        break;
    }
    return {};
}

namespace {

// Whether `format` has a way to write what the token means.
bool holds(SubtitleFormat::Id format, const MarkupTokenizer::Token &token)
{
    using Kind = MarkupTokenizer::Kind;
    switch (token.kind) {
    case Kind::AssOverride:
        return format == SubtitleFormat::Ass || format == SubtitleFormat::Ssa || format == SubtitleFormat::Srt;
    case Kind::WebVttTag:
        return format == SubtitleFormat::WebVtt || format == SubtitleFormat::Srt;
    default:
        return true;
    }
}

} // namespace

QStringList SubtitleFormatIo::losses(SubtitleFormat::Id format, const SubtitleList &subtitles, const FormatKeep *keep,
                                     double frameRate)
{
    QStringList lost;
    const bool ass = format == SubtitleFormat::Ass || format == SubtitleFormat::Ssa;
    // WebVTT's voices and ASS's speakers carry each other.
    const bool speakers = ass || format == SubtitleFormat::WebVtt;
    if (keep && keep->format() != format) {
        for (auto part = keep->parts().cbegin(); part != keep->parts().cend(); ++part) {
            if (part.value() > 0 && !(speakers && part.key() == FormatKeep::Part::Speakers))
                lost.append(FormatKeep::describe(part.key(), part.value()));
        }
    }
    // SRT takes any text as it stands; the others leave out the tags they have no way to say.
    qsizetype assTags = 0;
    qsizetype webVttTags = 0;
    qsizetype approximatedColours = 0; // WebVTT has eight colour classes
    qsizetype unheldCharacters = 0; // XML holds no control characters
    qsizetype separators = 0; // no format but SRT has U+2028 and its kind; all break the line there
    qsizetype rounded = 0; // ASS and SSA count time in hundredths of a second
    const bool centiseconds = ass;
    const auto offCentisecond = [](double time) { return std::abs(time * 100 - std::round(time * 100)) > 1e-6; };
    for (const SubtitlePtr &subtitle : subtitles) {
        if (centiseconds && (offCentisecond(subtitle->start) || offCentisecond(subtitle->end)))
            ++rounded;
        bool assTag = false;
        bool webVtt = false;
        const QString text = subtitle->text();
        bool approximated = false;
        // The voice a text begins with becomes the event's speaker.
        const bool voiced = ass && !SpeakerText::voiceOf(text).isEmpty();
        bool voiceTaken = false;
        for (const MarkupTokenizer::Token &token : MarkupTokenizer::tokenize(text)) {
            if (voiced && token.kind == MarkupTokenizer::Kind::WebVttTag && token.value == u"v" && (token.closing || !voiceTaken)) {
                voiceTaken = voiceTaken || !token.closing;
                continue;
            }
            if (format == SubtitleFormat::WebVtt && token.kind == MarkupTokenizer::Kind::Color && !token.closing) {
                const auto colour = WebVttWriter::colourClass(token.value);
                approximated = approximated || !colour || !colour->exact;
            }
            if (holds(format, token))
                continue;
            assTag = assTag || token.kind == MarkupTokenizer::Kind::AssOverride;
            webVtt = webVtt || token.kind == MarkupTokenizer::Kind::WebVttTag;
        }
        assTags += assTag;
        webVttTags += webVtt;
        approximatedColours += approximated;
        separators += std::any_of(text.cbegin(), text.cend(), MarkupTokenizer::isSeparator);
        if (format == SubtitleFormat::Ttml)
            unheldCharacters += !std::all_of(text.cbegin(), text.cend(), TtmlWriter::holds);
    }
    if (rounded > 0)
        lost.append(tr("the thousandths of a second in the times of %n subtitle(s), rounded to hundredths", nullptr, int(rounded)));
    if (assTags > 0)
        lost.append(tr("ASS override tags (positions, karaoke…) in %n subtitle(s)", nullptr, int(assTags)));
    if (webVttTags > 0)
        lost.append(tr("WebVTT tags (voices, classes, languages…) in %n subtitle(s)", nullptr, int(webVttTags)));
    if (approximatedColours > 0)
        lost.append(tr("the colours of %n subtitle(s), written as the nearest of WebVTT's eight colour classes", nullptr, int(approximatedColours)));
    if (unheldCharacters > 0)
        lost.append(tr("control characters in %n subtitle(s), which XML cannot hold", nullptr, int(unheldCharacters)));
    if (separators > 0)
        lost.append(tr("line or paragraph separators (U+2028, U+2029, U+0085) in %n subtitle(s), written as line breaks", nullptr, int(separators)));
    if (format == SubtitleFormat::Scc)
        lost += SccWriter::losses(subtitles, keep && keep->format() == format ? keep : nullptr);
    if (format == SubtitleFormat::EbuStl)
        lost += EbuStlWriter::losses(subtitles, keep, {frameRate, QString()});
    return lost + WrittenTimes::changes(format, subtitles, keep && keep->format() == format ? keep : nullptr);
}
