#include "timeline/SpeechSnapProvider.h"

#include "model/SpeechStretches.h"

SpeechSnapProvider::SpeechSnapProvider(const SpeechStretches &speech)
    : m_speech(speech)
{
}

void SpeechSnapProvider::offer(const Query &query, QList<double> &times) const
{
    const bool start = query.edge == Edge::Start;
    for (const SpeechStretch &stretch : m_speech.overlapping(query.from, query.to)) {
        const double time = start ? stretch.start : stretch.end;
        if (query.from <= time && time <= query.to)
            times.append(time);
    }
}
