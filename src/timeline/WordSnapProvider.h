#pragma once

#include "timeline/SnapProvider.h"

class WordTimings;

// An edge snaps to where a known word begins or ends: closer to what is said than the
// speech around it.
class WordSnapProvider final : public SnapProvider
{
public:
    // The timings must outlive the provider (one step of a drag).
    explicit WordSnapProvider(const WordTimings &words);
    void offer(const Query &query, QList<double> &times) const override;

private:
    const WordTimings &m_words;
};
