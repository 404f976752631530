#include "model/Subtitle.h"

#include <algorithm>

Subtitle::Subtitle(QString text, double start, double end)
    : text(std::move(text))
    , start(start)
    , end(end)
{
}

std::optional<Subtitle::ValueKey> Subtitle::valueKeyFromRawValue(QStringView raw)
{
    if (raw == u"start")
        return ValueKey::Start;
    if (raw == u"end")
        return ValueKey::End;
    if (raw == u"text")
        return ValueKey::Text;
    return std::nullopt;
}

QString Subtitle::rawValue(ValueKey key)
{
    switch (key) {
    case ValueKey::Start:
        return QStringLiteral("start");
    case ValueKey::End:
        return QStringLiteral("end");
    case ValueKey::Text:
        return QStringLiteral("text");
    }
    return {};
}

bool operator<(const Subtitle &a, const Subtitle &b)
{
    return a.start < b.start;
}

bool operator>(const Subtitle &a, const Subtitle &b)
{
    return b < a;
}

bool operator<=(const Subtitle &a, const Subtitle &b)
{
    return !(b < a);
}

bool operator>=(const Subtitle &a, const Subtitle &b)
{
    return !(a < b);
}

void sortSubtitles(SubtitleList &subtitles)
{
    std::stable_sort(subtitles.begin(), subtitles.end(),
                     [](const SubtitlePtr &a, const SubtitlePtr &b) { return *a < *b; });
}
