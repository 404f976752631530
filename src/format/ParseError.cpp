#include "format/ParseError.h"

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
