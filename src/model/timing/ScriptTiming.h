#pragma once

#include "model/Subtitle.h"

#include <memory>
#include <optional>
#include <vector>

class SubtitleController;

// Timing a script from the video as it plays: the line being timed takes the video's time
// as its start or end, and the keys go on through the lines in the script's order (as they
// were imported, or as the list stood when timing began). A line timed later than the
// placeholders after it moves past them in the list; the next line to time is still the
// one after it in the script.
class ScriptTiming
{
public:
    // These lines, in this order, are the script from now on.
    void setScript(const SubtitleList &lines);

    // The list's order before the line moves is what the script keeps, when it did not
    // hold the line yet.
    void setStart(SubtitleController &controller, int index, double time);
    // The subtitle at `index` ends at `time`. Returns the script's line after it that is
    // still in the list (null after the last). None, changing nothing, when `time` is not
    // after the start: an end there would leave the subtitle no time on screen, or move
    // it back before where it was timed to start.
    [[nodiscard]] std::optional<SubtitlePtr> setEnd(SubtitleController &controller, int index, double time);
    // The subtitle at `index` ends at `time` and the script's next line starts two frames
    // later (a new subtitle after the last line). Its position; none when refused as
    // setEnd refuses.
    [[nodiscard]] std::optional<int> endAndStartNext(SubtitleController &controller, int index, double time);

private:
    // The script's line after the subtitle at `index` that is still in the list; null after
    // the last. A subtitle the script does not hold joins it first, with every other one
    // it lacks, each after the line before it in the list.
    SubtitlePtr next(const SubtitleController &controller, int index);
    static bool endsAfterStart(const Subtitle &subtitle, double time);
    // Where the line stands in the script, taking it in with the list first when needed.
    std::size_t hold(const SubtitleController &controller, const SubtitlePtr &line);
    std::optional<std::size_t> placeOf(const SubtitlePtr &line) const;
    void takeIn(const SubtitleList &list);

    std::vector<std::weak_ptr<Subtitle>> m_lines;
};
