#pragma once

#include "model/Expected.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

// The text encodings a subtitle file can be read and written in: every ICU converter
// that can carry SRT text, each with a stable number (stored in the settings) and a
// readable name. Decoding and encoding are strict: a byte sequence that is not valid in
// the encoding, or a character the encoding cannot represent, is an error with a
// message for the user, never a silent replacement.
class TextEncoding
{
    Q_DECLARE_TR_FUNCTIONS(TextEncoding)

public:
    // "Automatic": no encoding chosen, detect it when reading.
    static constexpr int Automatic = 0;
    // Numbers are IANA MIBenums where the encoding has one.
    static constexpr int Utf8 = 106;
    static constexpr int Utf16BigEndian = 1013;
    static constexpr int Utf16LittleEndian = 1014;
    static constexpr int Utf32BigEndian = 1018;
    static constexpr int Utf32LittleEndian = 1019;

    // Why a text could not be decoded or encoded: a message for the user.
    struct Error
    {
        QString message;
    };

    struct Entry
    {
        int number;
        QByteArray converterName; // ICU's canonical name
        QString name;             // the short standard name, e.g. "windows-1252"
        QString displayName;      // e.g. "Western European (Windows-1252)"
        // In the main list; the oddities (EBCDIC, converter-specific variants, rare
        // Unicode forms) come after it.
        bool common = false;
    };

    // Every encoding: UTF-8 and the other common Unicode forms first, then the common
    // regional encodings by display name, then the oddities. Built once.
    static const QList<Entry> &all();
    static const Entry *find(int number);
    // The number of an encoding named by its display name, its short name, or any name or
    // alias ICU accepts (case-insensitive). Not "Automatic".
    static std::optional<int> numberForName(QStringView name);
    // The short name ("UTF-8"), or the number itself for an unknown one.
    static QString name(int number);
    static QString displayName(int number);

    // Decodes with one encoding. A leading byte-order mark of this very encoding (UTF-8,
    // UTF-16, UTF-32) is not part of the text and is removed.
    static Expected<QString, Error> decode(const QByteArray &bytes, int number);

    // An encoding detection weighed, with the first lines it reads differently from the
    // others (those beyond ASCII), for the user to compare.
    struct Considered
    {
        int encoding;
        QString excerpt;
    };
    struct Detected
    {
        QString text;
        int encoding;
        // Whether the guess stood clearly above the other readings. When it did not,
        // `considered` holds the encodings that read the bytes as different texts, the most
        // plausible (`encoding`) first, for the user to choose from.
        bool sure = true;
        QList<Considered> considered = {};
    };
    // Detects the encoding and decodes: a byte-order mark, then valid UTF-8, then of the
    // encodings the detectors guess and the common legacy ones, the one whose reading of
    // the start of the file is the most plausible text and that decodes it all strictly.
    static Expected<Detected, Error> decodeDetectingEncoding(const QByteArray &bytes);

    // Unicode encodings with a byte order are written with a byte-order mark, so that the
    // file says what it is; UTF-8 is written without one. `withByteOrderMark` overrides
    // that for UTF-8, UTF-16BE/LE and UTF-32BE/LE (a file keeps the mark it was read with).
    static Expected<QByteArray, Error> encode(QStringView text, int number, std::optional<bool> withByteOrderMark = std::nullopt);

    // Whether `number` is written with a byte-order mark unless told otherwise; absent for
    // encodings where there is no choice (most have no mark, "UTF-16" always writes one).
    static std::optional<bool> usualByteOrderMark(int number);

    // Whether decodeDetectingEncoding reads these bytes as UTF-8 (checked quickly, without
    // the detectors), so that they can be parsed as they are.
    static bool readsAsUtf8(const QByteArray &bytes);

    // The steps of detection, open for measuring them one by one.
    static bool looksLikeIso2022(QByteArrayView bytes);
    static std::optional<int> encodingOfByteOrderMark(const QByteArray &bytes);
    // UTF-16LE or BE told by the pattern of NUL bytes, for files without a mark.
    static std::optional<int> utf16WithoutByteOrderMark(const QByteArray &bytes);
    static std::optional<int> uchardetGuess(const QByteArray &bytes);
    static QList<int> icuGuesses(const QByteArray &bytes);
    // The encoding to try before a detector's guess: a larger one that reads the same text.
    static int widened(int number);

private:
    // Of the detectors' candidates, in their order, and the common legacy encodings: the
    // most plausible reading that decodes every byte.
    static Expected<Detected, Error> mostPlausible(const QByteArray &bytes, QList<int> candidates);
};
