#pragma once

#include <QByteArrayView>
#include <QCoreApplication>
#include <QString>
#include <QStringView>

// Why a text is not valid SRT. A `File` error wraps the error of one line with the
// number of lines handled before it (the first line is line 0).
class ParseError
{
    Q_DECLARE_TR_FUNCTIONS(ParseError)

public:
    enum class Kind { File, InvalidIndex, InvalidTimestamp, UnexpectedEndOfFile };

    explicit ParseError(Kind kind)
        : m_kind(kind)
    {
    }
    static ParseError atLine(qsizetype lineNumber, Kind lineError);

    Kind kind() const { return m_kind; }
    qsizetype lineNumber() const { return m_lineNumber; }
    // The user-readable, translated message.
    QString message() const;
    // The message followed by what the line it names holds in `text` (the text that
    // was parsed), so that the user can find the line without counting.
    QString message(QStringView text) const;
    QString message(QByteArrayView utf8Text) const;

    // A line as messages quote it: shortened, its control characters made visible.
    static QString quotedLine(QStringView line);
    // "Line N reads “…”." or "Line N is empty."
    static QString lineReads(qsizetype lineNumber, QStringView line);

private:
    static QString messageOf(Kind kind);

    Kind m_kind;
    Kind m_lineError = Kind::InvalidIndex;
    qsizetype m_lineNumber = 0;
};
