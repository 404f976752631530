#include "speech/ScriptAlignmentFromBothEnds.h"

#include "system/ParallelHalves.h"

#include <mutex>

namespace {

using Bounds = ScriptAligner::Bounds;
using Direction = ScriptAligner::Direction;
using Outcome = ScriptAligner::Outcome;

// What the two ends share: which lines are still to do, where the placed ones leave room,
// and the outcomes so far.
class Meeting
{
public:
    struct Claim
    {
        qsizetype index = 0;
        Bounds bounds;
    };

    Meeting(qsizetype lines, Bounds bounds)
        : m_outcomes(lines)
        , m_back(lines - 1)
        , m_room(bounds)
    {
    }

    // The next line from this end, and the room it has now; none once the ends have met.
    std::optional<Claim> claim(Direction direction)
    {
        const std::lock_guard lock(m_mutex);
        if (m_front > m_back)
            return std::nullopt;
        const qsizetype index = direction == Direction::Forward ? m_front++ : m_back--;
        return Claim{index, m_room};
    }

    // Keeps the outcome found in room `used`, unless the other end has meanwhile placed a
    // line where it is (the two lines where the ends meet): then the room left, to look again.
    std::optional<Bounds> settle(qsizetype index, Direction direction, const Outcome &outcome, Bounds used)
    {
        const std::lock_guard lock(m_mutex);
        if (!outcome.words.isEmpty()) {
            const double start = outcome.words.constFirst().start;
            const double end = outcome.words.constLast().end;
            const bool narrowed = m_room.from != used.from || m_room.to != used.to;
            if (narrowed && (start < m_room.from || end > m_room.to))
                return m_room;
            (direction == Direction::Forward ? m_room.from : m_room.to) = direction == Direction::Forward ? end : start;
        }
        m_outcomes[index] = outcome;
        ++m_done;
        return std::nullopt;
    }

    // Tells how many lines are done, never fewer than it told before.
    void report(const std::function<void(int)> &progress)
    {
        if (!progress)
            return;
        const std::lock_guard told(m_reporting);
        int done = 0;
        {
            const std::lock_guard lock(m_mutex);
            done = m_done;
        }
        progress(done);
    }

    QList<Outcome> outcomes() const { return m_outcomes; }

private:
    std::mutex m_mutex;
    std::mutex m_reporting;
    QList<Outcome> m_outcomes;
    qsizetype m_front = 0;
    qsizetype m_back;
    Bounds m_room;
    int m_done = 0;
};

} // namespace

std::optional<QList<Outcome>> ScriptAlignmentFromBothEnds::align(ScriptAligner &front, ScriptAligner &back,
                                                                 const QList<ScriptAligner::Line> &lines, Bounds bounds,
                                                                 std::stop_token stop,
                                                                 const std::function<void(int)> &progress)
{
    Meeting meeting(lines.size(), bounds);
    const auto work = [&](ScriptAligner &aligner, Direction direction) {
        double behind = 0; // how long the lines this end left since it last placed one take to say
        while (!stop.stop_requested()) {
            const std::optional<Meeting::Claim> claim = meeting.claim(direction);
            if (!claim)
                return;
            const ScriptAligner::Line &line = lines[claim->index];
            std::optional<Bounds> room = claim->bounds;
            Outcome outcome;
            while (room && !stop.stop_requested()) {
                outcome = aligner.alignLine(line, *room, direction, behind);
                room = meeting.settle(claim->index, direction, outcome, *room);
            }
            if (!outcome.words.isEmpty())
                behind = 0;
            else if (outcome.left != ScriptAligner::Reason::NoWords)
                behind += ScriptAligner::sayingSeconds(line.text);
            meeting.report(progress);
        }
    };
    ParallelHalves::run([&] { work(front, Direction::Forward); }, [&] { work(back, Direction::Backward); });
    if (stop.stop_requested())
        return std::nullopt;
    return meeting.outcomes();
}
