#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The character code tables of an EBU-STL file's text fields: Latin (ISO 6937, whose
// accents are bytes 0xC1..0xCF written before their letter) and the Latin/Cyrillic,
// Arabic, Greek and Hebrew tables (ISO 8859-5 to -8). Bytes below 0x20 and from 0x80 to
// 0x9F are control codes, the text reader's business.
class EbuStlCharacters
{
public:
    // In the order of the character code table number the file gives ("00".."04").
    enum Table { Latin, Cyrillic, Arabic, Greek, Hebrew };
    static constexpr Table all[] = {Latin, Cyrillic, Arabic, Greek, Hebrew};

    static bool isCharacter(uchar byte) { return (byte >= 0x20 && byte < 0x7F) || byte >= 0xA0; }
    // The character at `at` (an accent and its letter as one precomposed character where
    // Unicode has one), `at` moved past it; empty for a byte the table leaves unassigned.
    static QString decode(QByteArrayView bytes, qsizetype &at, Table table);
    // Appends the bytes of the character at `at` of `text` (with a combining accent after
    // it, if any) and returns how many UTF-16 units it took; 0 when the table cannot hold it.
    static qsizetype encode(QStringView text, qsizetype at, Table table, QByteArray &out);
    // The first character of `text` (NFC) the table cannot hold; empty when it holds them all.
    static QString firstUnheld(QStringView text, Table table);
};
