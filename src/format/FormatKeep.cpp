#include "format/FormatKeep.h"

#include <algorithm>

void FormatKeep::keep(const SubtitlePtr &subtitle, Cue cue)
{
    const qsizetype known = m_cues.size();
    m_cues.emplace(subtitle.get(), std::move(cue));
    if (m_cues.size() > known)
        m_subtitles.append(subtitle);
}

const FormatKeep::Cue *FormatKeep::cue(const Subtitle &subtitle) const
{
    const auto found = m_cues.constFind(&subtitle);
    return found == m_cues.cend() ? nullptr : &found.value();
}

QString FormatKeep::describe(Part part, qsizetype howMany)
{
    switch (part) {
    case Part::Header: return tr("the text before the subtitles");
    case Part::StyleDefinitions: return tr("%n style definition(s)", nullptr, int(howMany));
    case Part::Styles: return tr("the styles of %n subtitle(s)", nullptr, int(howMany));
    case Part::Layers: return tr("the layers of %n subtitle(s)", nullptr, int(howMany));
    case Part::Margins: return tr("the margins of %n subtitle(s)", nullptr, int(howMany));
    case Part::Effects: return tr("the effects of %n subtitle(s)", nullptr, int(howMany));
    case Part::Speakers: return tr("the speakers of %n subtitle(s)", nullptr, int(howMany));
    case Part::Identifiers: return tr("the identifiers of %n subtitle(s)", nullptr, int(howMany));
    case Part::CueSettings: return tr("the placement settings of %n subtitle(s)", nullptr, int(howMany));
    case Part::Regions: return tr("%n region(s)", nullptr, int(howMany));
    case Part::Notes: return tr("%n note(s) or comment(s)", nullptr, int(howMany));
    }
    return {};
}

SubtitleList FormatKeep::inWritingOrder(const SubtitleList &subtitles) const
{
    // Each subtitle sorts by the file position of the nearest read subtitle at or before
    // it in the list, and then by its place in the list.
    struct Place
    {
        qsizetype order;
        qsizetype index;
        bool operator<(const Place &other) const
        {
            return order != other.order ? order < other.order : index < other.index;
        }
    };
    QList<Place> places;
    places.reserve(subtitles.size());
    qsizetype order = -1;
    bool inFileOrder = true;
    for (qsizetype i = 0; i < subtitles.size(); ++i) {
        if (const Cue *kept = cue(*subtitles[i])) {
            inFileOrder = inFileOrder && kept->order > order;
            order = kept->order;
        }
        places.append({order, i});
    }
    if (inFileOrder)
        return subtitles;
    std::stable_sort(places.begin(), places.end());
    SubtitleList ordered;
    ordered.reserve(subtitles.size());
    for (const Place &place : places)
        ordered.append(subtitles[place.index]);
    return ordered;
}
