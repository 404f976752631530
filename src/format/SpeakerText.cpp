#include "format/SpeakerText.h"

#include "format/AssSyntax.h"
#include "format/MarkupTokenizer.h"

namespace {

using Kind = MarkupTokenizer::Kind;

// The tokens before the voice a text may begin with: a placement tag.
qsizetype leadingPlacement(const QList<MarkupTokenizer::Token> &tokens)
{
    return !tokens.isEmpty() && tokens.first().kind == Kind::Position ? 1 : 0;
}

} // namespace

QString SpeakerText::voiceOf(QStringView text)
{
    const QList<MarkupTokenizer::Token> tokens = MarkupTokenizer::tokenize(text);
    const qsizetype first = leadingPlacement(tokens);
    if (first >= tokens.size())
        return {};
    const MarkupTokenizer::Token &voice = tokens[first];
    if (voice.kind != Kind::WebVttTag || voice.value != u"v" || voice.closing)
        return {};
    // "<v Name>" or "<v.class Name>": the annotation is what follows the first blank.
    const QStringView inside = voice.raw.sliced(2, voice.raw.size() - 3);
    const qsizetype blank = inside.indexOf(u' ') < 0 ? inside.indexOf(u'\t') : inside.indexOf(u' ');
    return blank < 0 ? QString() : inside.sliced(blank + 1).trimmed().toString();
}

QString SpeakerText::withVoice(const QString &text, const QString &speaker)
{
    QString name = speaker.trimmed();
    name.remove(u'<').remove(u'>').replace(u'\n', u' ').replace(u'&', QStringLiteral("&amp;"));
    if (name.isEmpty() || !voiceOf(text).isEmpty())
        return text;
    const QList<MarkupTokenizer::Token> tokens = MarkupTokenizer::tokenize(text);
    const qsizetype at = leadingPlacement(tokens) ? tokens.first().raw.size() : 0;
    return text.first(at) + QStringLiteral("<v ") + name + u'>' + text.sliced(at);
}

QString SpeakerText::speakerOf(const FormatKeep &keep, const Subtitle &subtitle)
{
    const FormatKeep::Cue *cue = keep.cue(subtitle);
    if (!cue)
        return {};
    const QStringList &names = cue->fields.isEmpty() ? keep.fileFields : cue->fields;
    const qsizetype name = names.contains(QStringLiteral("name")) ? names.indexOf(QStringLiteral("name")) : names.indexOf(QStringLiteral("actor"));
    if (name < 0)
        return {};
    qsizetype valuesStart = 0;
    const QList<QStringView> values = AssSyntax::eventValues(cue->source, names.size(), valuesStart);
    return name + 1 < values.size() ? values[name].trimmed().toString() : QString();
}

std::optional<SubtitleList> SpeakerText::voiced(const SubtitleList &subtitles, const FormatKeep &keep)
{
    if (keep.format() != SubtitleFormat::Ass && keep.format() != SubtitleFormat::Ssa)
        return std::nullopt;
    SubtitleList result;
    result.reserve(subtitles.size());
    bool changed = false;
    for (const SubtitlePtr &subtitle : subtitles) {
        const QString text = subtitle->text();
        const QString voicedText = withVoice(text, speakerOf(keep, *subtitle));
        if (voicedText == text) {
            result.append(subtitle);
            continue;
        }
        changed = true;
        result.append(Subtitle::create(voicedText, subtitle->start, subtitle->end));
    }
    return changed ? std::optional(std::move(result)) : std::nullopt;
}
