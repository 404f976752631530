#pragma once

#include "timeline/SnapProvider.h"

class SpeechStretches;

// A start snaps to where speech begins, an end to where it stops.
class SpeechSnapProvider final : public SnapProvider
{
public:
    // The stretches must outlive the provider (one step of a drag).
    explicit SpeechSnapProvider(const SpeechStretches &speech);
    void offer(const Query &query, QList<double> &times) const override;

private:
    const SpeechStretches &m_speech;
};
