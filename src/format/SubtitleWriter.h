#pragma once

#include "model/Subtitle.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

// Writes SRT text as SubtitleParser promises (see there): in UTF-16, or in UTF-8 with
// the file's line breaks, a large file part by part on two threads.
class SubtitleWriter
{
public:
    static QString formatTime(double seconds);
    static QString textAsWritten(const QString &text);
    static QString serialize(const SubtitleList &subtitles);
    static std::optional<QByteArray> serializeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark);
    static bool writeUtf8(const SubtitleList &subtitles, bool crlf, bool byteOrderMark,
                          const std::function<bool(QByteArrayView)> &sink);

private:
    // Writes the subtitles from `from` to before `to`, numbered by their positions.
    template <typename Output>
    static bool write(const SubtitleList &subtitles, qsizetype from, qsizetype to, Output &out);
    // Hours take up to six digits: "999999:59:59,999".
    static constexpr qsizetype maximumTimeLength = 16;
    static char *writeTime(char *out, double seconds);
};
