#pragma once

#include "model/Expected.h"

#include <QCoreApplication>
#include <QString>
#include <QStringView>

// How the program writes a time for the user. The subtitle files are always written in
// milliseconds from zero; this is only what the panes show and what the user types.
enum class TimeForm {
    Milliseconds, // 00:01:05,250
    Timecode, // 00:01:05:06 at the video's rate; 00:01:05;06 in drop-frame at 29.97 and 59.94
    Frames, // a plain frame count, 1563
};

// The text of a time in one form at one frame rate, with the document's timecode offset
// added (a film that starts at 10:00:00:00). Reading accepts every form whatever the
// form shown, and takes the offset away again. Without a frame rate (0) the frame forms
// cannot be written: they fall back to milliseconds.
class TimeDisplay
{
    Q_DECLARE_TR_FUNCTIONS(TimeDisplay)

public:
    TimeDisplay() = default;
    TimeDisplay(TimeForm form, double frameRate, double offset = 0);

    // The form asked for, and the one written (milliseconds while the rate is unknown).
    TimeForm chosenForm() const { return m_form; }
    TimeForm form() const;
    // Why the form shown is not the one chosen (translated); empty when it is.
    QString fallbackNote() const;
    double frameRate() const { return m_frameRate; }
    double offset() const { return m_offset; }
    // The same, without the offset: for lengths of time such as a shift.
    TimeDisplay withoutOffset() const { return TimeDisplay(m_form, m_frameRate); }

    // Times before zero (after the offset) write as zero.
    QString format(double seconds) const;
    // "00:00:01,500", "00:00:01.500", "00:00:01:12", "00:00:01;12" or a frame number "36";
    // the time in seconds from zero, or why the text is not one (translated).
    Expected<double, QString> parse(QStringView text) const;

    // The frame whose span holds `seconds`. A time within half a millisecond before a
    // frame's start, or at that start cut to whole milliseconds as a saved file keeps it,
    // counts as that frame: a start read back from a file, or a sum a rounding error
    // short, shows the frame it stands for.
    static qint64 frameAt(double seconds, double frameRate);
    // 29.97 and 59.94 count timecode in drop-frame.
    static bool isDropFrame(double frameRate);
    // The frames a timecode second counts: the rate rounded (24 at 23.976).
    static int nominalRate(double frameRate);

    friend bool operator==(const TimeDisplay &, const TimeDisplay &) = default;

private:
    bool hasRate() const { return m_frameRate > 0; }
    QString timecode(qint64 frame) const;
    Expected<double, QString> parseTimecode(QStringView hours, QStringView minutes, QStringView seconds,
                                            QChar separator, QStringView frames) const;
    Expected<double, QString> frameStart(qint64 frame) const;
    Expected<double, QString> withOffsetTakenAway(double shown) const;

    TimeForm m_form = TimeForm::Milliseconds;
    double m_frameRate = 0;
    double m_offset = 0;
};
