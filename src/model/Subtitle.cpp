#include "model/Subtitle.h"

#include <QStringEncoder>

#include <algorithm>
#include <cstring>

namespace {

// The length of the text in UTF-8, or nothing when it holds a lone surrogate.
std::optional<qsizetype> utf8Length(QStringView text)
{
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    qsizetype length = 0;
    for (; p < end; ++p) {
        const char16_t u = *p;
        if (u < 0x80) {
            ++length;
        } else if (u < 0x800) {
            length += 2;
        } else if (!QChar::isSurrogate(u)) {
            length += 3;
        } else if (QChar::isHighSurrogate(u) && p + 1 < end && QChar::isLowSurrogate(p[1])) {
            length += 4;
            ++p;
        } else {
            return std::nullopt;
        }
    }
    return length;
}

} // namespace

Subtitle::Subtitle(const QString &text, double start, double end)
    : start(start)
    , end(end)
{
    setText(text);
}

Subtitle::Subtitle(Utf8 text, double start, double end)
    : start(start)
    , end(end)
    , m_text(std::move(text.bytes))
{
}

QString Subtitle::text() const
{
    if (!m_text.startsWith(utf16Marker))
        return QString::fromUtf8(m_text);
    QString text((m_text.size() - 1) / 2, Qt::Uninitialized);
    std::memcpy(text.data(), m_text.constData() + 1, text.size() * sizeof(QChar));
    return text;
}

void Subtitle::setText(const QString &text)
{
    // Encoded into a buffer of the exact size: a list of a million texts keeps no slack.
    if (const auto length = utf8Length(text)) {
        m_text = QByteArray(*length, Qt::Uninitialized);
        QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        encoder.appendToBuffer(m_text.data(), text);
        return;
    }
    m_text = QByteArray(1 + text.size() * qsizetype(sizeof(QChar)), Qt::Uninitialized);
    m_text[0] = utf16Marker;
    std::memcpy(m_text.data() + 1, text.constData(), text.size() * sizeof(QChar));
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
