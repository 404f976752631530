#include "model/timing/ScriptTiming.h"

#include "model/quality/QualityCheck.h"
#include "model/SubtitleController.h"

#include <QHash>

void ScriptTiming::setScript(const SubtitleList &lines)
{
    m_lines.assign(lines.begin(), lines.end());
}

void ScriptTiming::setStart(SubtitleController &controller, int index, double time)
{
    hold(controller, controller.at(index));
    controller.setStart(index, time);
}

std::optional<SubtitlePtr> ScriptTiming::setEnd(SubtitleController &controller, int index, double time)
{
    if (!endsAfterStart(*controller.at(index), time))
        return std::nullopt;
    SubtitlePtr following = next(controller, index);
    controller.setEnd(index, time);
    return following;
}

std::optional<int> ScriptTiming::endAndStartNext(SubtitleController &controller, int index, double time)
{
    if (!endsAfterStart(*controller.at(index), time))
        return std::nullopt;
    const SubtitlePtr following = next(controller, index);
    return controller.endAndStartNext(index, time, following ? std::optional(controller.indexOf(following)) : std::nullopt);
}

SubtitlePtr ScriptTiming::next(const SubtitleController &controller, int index)
{
    for (std::size_t i = hold(controller, controller.at(index)) + 1; i < m_lines.size(); ++i) {
        // A line deleted since stays out of the way until an undo brings it back.
        if (SubtitlePtr candidate = m_lines[i].lock(); candidate && controller.indexOf(candidate) >= 0)
            return candidate;
    }
    return nullptr;
}

bool ScriptTiming::endsAfterStart(const Subtitle &subtitle, double time)
{
    return time > subtitle.start + QualityCheck::tolerance;
}

std::size_t ScriptTiming::hold(const SubtitleController &controller, const SubtitlePtr &line)
{
    if (const std::optional<std::size_t> place = placeOf(line))
        return *place;
    takeIn(controller.subtitles());
    return *placeOf(line);
}

std::optional<std::size_t> ScriptTiming::placeOf(const SubtitlePtr &line) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].lock() == line)
            return i;
    }
    return std::nullopt;
}

void ScriptTiming::takeIn(const SubtitleList &list)
{
    // Held while the script is rebuilt, so that no address in `places` is reused.
    SubtitleList script;
    script.reserve(qsizetype(m_lines.size()));
    for (const std::weak_ptr<Subtitle> &line : m_lines) {
        if (SubtitlePtr alive = line.lock())
            script.append(std::move(alive));
    }
    QHash<const Subtitle *, qsizetype> places;
    places.reserve(script.size());
    for (qsizetype i = 0; i < script.size(); ++i)
        places.insert(script[i].get(), i);
    // joining[k] goes after the script's line k - 1 (joining[0] before the first).
    std::vector<SubtitleList> joining(std::size_t(script.size()) + 1);
    std::size_t after = 0;
    for (const SubtitlePtr &line : list) {
        if (const auto place = places.constFind(line.get()); place != places.cend())
            after = std::size_t(*place) + 1;
        else
            joining[after].append(line);
    }
    m_lines.clear();
    m_lines.reserve(std::size_t(script.size() + list.size()));
    for (std::size_t k = 0; k < joining.size(); ++k) {
        if (k > 0)
            m_lines.emplace_back(script[qsizetype(k - 1)]);
        m_lines.insert(m_lines.end(), joining[k].begin(), joining[k].end());
    }
}
