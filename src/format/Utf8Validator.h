#pragma once

#include <QByteArrayView>

// Whether bytes are valid UTF-8, exactly as QByteArrayView::isValidUtf8 decides (no
// overlong forms, no surrogates, nothing past U+10FFFF), but as fast on accented text
// as on ASCII: Qt's check goes byte by byte for a while after each non-ASCII character,
// which nearly every line of most European subtitles holds.
class Utf8Validator
{
public:
    static bool isValid(QByteArrayView bytes);
};
