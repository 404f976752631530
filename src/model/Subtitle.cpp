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

// How a text is kept: as its UTF-8 bytes, or, with a lone surrogate, as a marker and its
// UTF-16 units; and in how many bytes.
struct StoredForm
{
    qsizetype size;
    bool utf8;
};

StoredForm storedForm(QStringView text)
{
    if (const auto length = utf8Length(text))
        return {*length, true};
    return {1 + text.size() * qsizetype(sizeof(QChar)), false};
}

// Writes the text in that form to `out`, which has room for its size.
void store(QStringView text, StoredForm form, char *out, char utf16Marker)
{
    if (form.utf8) {
        QStringEncoder encoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        encoder.appendToBuffer(out, text);
        return;
    }
    out[0] = utf16Marker;
    std::memcpy(out + 1, text.constData(), text.size() * sizeof(QChar));
}

// Room for a text after the block it is allocated with.
struct TextTail
{
    std::size_t size;
    char *bytes = nullptr;
};

// Allocates the block of a shared subtitle (its counts and the subtitle) with room for
// the text's bytes after it, and tells where they go.
template <typename T>
class TextTailAllocator
{
public:
    using value_type = T;

    explicit TextTailAllocator(TextTail *tail)
        : m_tail(tail)
    {
    }
    template <typename U>
    TextTailAllocator(const TextTailAllocator<U> &other)
        : m_tail(other.tail())
    {
    }

    T *allocate(std::size_t n)
    {
        auto *block = static_cast<char *>(::operator new(n * sizeof(T) + m_tail->size));
        m_tail->bytes = block + n * sizeof(T);
        return reinterpret_cast<T *>(block);
    }
    void deallocate(T *block, std::size_t) { ::operator delete(block); }

    TextTail *tail() const { return m_tail; }
    template <typename U>
    bool operator==(const TextTailAllocator<U> &other) const
    {
        return m_tail == other.tail();
    }

private:
    TextTail *m_tail;
};

} // namespace

SubtitlePtr Subtitle::withRoomFor(qsizetype size, double start, double end, char *&bytes)
{
    TextTail tail{std::size_t(size)};
    // The block is allocated before the subtitle is made in it: the constructor reads
    // where the room for the text is through the reference.
    auto subtitle = std::allocate_shared<Subtitle>(TextTailAllocator<Subtitle>(&tail), Key(), tail.bytes,
                                                   quint32(size), start, end);
    bytes = tail.bytes;
    return subtitle;
}

SubtitlePtr Subtitle::create(QStringView text, double start, double end)
{
    char *bytes = nullptr;
    const StoredForm form = storedForm(text);
    auto subtitle = withRoomFor(form.size, start, end, bytes);
    store(text, form, bytes, utf16Marker);
    return subtitle;
}

SubtitlePtr Subtitle::createUtf8(QByteArrayView text, double start, double end)
{
    char *bytes = nullptr;
    auto subtitle = withRoomFor(text.size(), start, end, bytes);
    std::memcpy(bytes, text.data(), text.size());
    return subtitle;
}

Subtitle::Subtitle(Key, char *const &bytes, quint32 size, double start, double end)
    : start(start)
    , end(end)
    , m_bytes(bytes)
    , m_size(size)
{
}

Subtitle::~Subtitle()
{
    if (m_onHeap)
        delete[] m_bytes;
}

QString Subtitle::text() const
{
    if (const auto bytes = utf8())
        return QString::fromUtf8(*bytes);
    QString text((m_size - 1) / 2, Qt::Uninitialized);
    std::memcpy(text.data(), m_bytes + 1, text.size() * sizeof(QChar));
    return text;
}

void Subtitle::setText(const QString &text)
{
    // A new text rarely fits the old one's room exactly: it goes on the heap, at its size.
    const StoredForm form = storedForm(text);
    auto *bytes = new char[std::max<qsizetype>(form.size, 1)];
    store(text, form, bytes, utf16Marker);
    if (m_onHeap)
        delete[] m_bytes;
    m_bytes = bytes;
    m_size = quint32(form.size);
    m_onHeap = true;
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
