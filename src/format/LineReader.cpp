#include "format/LineReader.h"

bool LineReader::next(QStringView &line)
{
    const qsizetype size = m_text.size();
    if (m_position >= size)
        return false;
    const QChar *data = m_text.data();
    qsizetype end = m_position;
    while (end < size && !isTerminator(data[end]))
        ++end;
    line = m_text.sliced(m_position, end - m_position);
    if (end < size) {
        const bool crlf = data[end] == u'\r' && end + 1 < size && data[end + 1] == u'\n';
        end += crlf ? 2 : 1;
    }
    m_position = end;
    return true;
}
