#pragma once

#include <QByteArray>
#include <QString>

// What the encodings of the list are called and numbered by, from their standard names
// ("windows-1252"): the tables behind the numbers stored in settings and the names shown
// in menus.
class EncodingNames
{
public:
    // The IANA MIBenum of a standard name (any case), or 0 when it has none.
    static int mibEnum(const QString &name);
    // The region an encoding is shown under ("Western European"), untranslated; none for
    // the oddities.
    static const char *region(const QString &label);
    // Whether subtitle files are written in it, so that it belongs in the main list.
    static bool isCommon(const QString &label);
    // A standard name as people write it in a menu: "Windows-1252" rather than "windows-1252".
    static QString menuLabel(const QString &label);
    // A stable number for an encoding without a MIBenum: a hash of ICU's canonical name,
    // far above the MIBenum range.
    static int hashedNumber(const QByteArray &converterName);
};
