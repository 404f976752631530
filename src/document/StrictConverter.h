#pragma once

#include "document/TextEncoding.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <unicode/ucnv.h>

#include <memory>

// One of ICU's converters, used strictly: bytes that are not valid in its encoding, or a
// character it cannot hold, stop the conversion with a message that says which and where,
// never a silent replacement.
class StrictConverter
{
public:
    // Closed (false) when ICU has no converter of that name or alias.
    explicit StrictConverter(const char *name);
    explicit operator bool() const { return bool(m_converter); }

    QByteArray canonicalName() const;
    int maxCharSize() const;
    // Whether its encoding is a form of Unicode (UTF-8, UTF-16, SCSU…).
    bool isUnicode() const;
    // The mark to write before text in encodings that have a byte order but do not write
    // one themselves (ICU's "UTF-16" and "UTF-32" write their own); empty for the rest.
    QByteArray byteOrderMark() const;
    // Whether it can carry SRT text at all: times, digits, arrows and Latin letters.
    bool carriesSrt();

    // A leading byte-order mark of a Unicode encoding is not part of the text. The
    // messages name the encoding as `encodingName`.
    Expected<QString, TextEncoding::Error> toUnicode(const QByteArray &bytes, const QString &encodingName);
    // Appends to `bytes` (a byte-order mark, say).
    Expected<QByteArray, TextEncoding::Error> fromUnicode(QStringView text, const QString &encodingName, QByteArray bytes = {});

private:
    struct Closer
    {
        void operator()(UConverter *converter) const { ucnv_close(converter); }
    };
    std::unique_ptr<UConverter, Closer> m_converter;
};
