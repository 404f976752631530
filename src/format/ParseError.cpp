#include "format/ParseError.h"

#include "format/LineReader.h"

#include <algorithm>
#include <optional>

ParseError ParseError::atLine(qsizetype lineNumber, Kind lineError)
{
    ParseError error(Kind::File);
    error.m_lineNumber = lineNumber;
    error.m_lineError = lineError;
    return error;
}

QString ParseError::message() const
{
    if (m_kind == Kind::File)
        return tr("Error at line %1.\n%2").arg(m_lineNumber).arg(messageOf(m_lineError));
    return messageOf(m_kind);
}

QString ParseError::message(QStringView text) const
{
    if (m_kind != Kind::File)
        return message();
    const auto line = LineReader::lineAt(text, m_lineNumber);
    return line ? message() + u'\n' + lineReads(m_lineNumber, *line) : message();
}

QString ParseError::message(QByteArrayView utf8Text) const
{
    if (m_kind != Kind::File)
        return message();
    const auto line = Utf8LineReader::lineAt(utf8Text, m_lineNumber);
    return line ? message() + u'\n' + lineReads(m_lineNumber, QString::fromUtf8(*line)) : message();
}

QString ParseError::quotedLine(QStringView line)
{
    constexpr qsizetype limit = 60;
    QString quoted = line.first(std::min(line.size(), limit)).toString();
    // A NUL, a tab or an escape would otherwise show as nothing at all.
    for (QChar &c : quoted) {
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode());
        else if (c.unicode() == 0x7F)
            c = QChar(0x2421);
    }
    if (line.size() > limit)
        quoted += QChar(0x2026);
    return quoted;
}

QString ParseError::lineReads(qsizetype lineNumber, QStringView line)
{
    if (line.isEmpty())
        return tr("Line %1 is empty.").arg(lineNumber);
    return tr("Line %1 reads “%2”.").arg(QString::number(lineNumber), quotedLine(line));
}

QString ParseError::messageOf(Kind kind)
{
    switch (kind) {
    case Kind::InvalidIndex:
        return tr("Invalid index.");
    case Kind::InvalidTimestamp:
        return tr("Invalid timestamp.");
    case Kind::UnexpectedEndOfFile:
        return tr("Unexpected end of file.");
    case Kind::File:
        break;
    }
    return {};
}
