#pragma once

#include "model/quality/ShotChangeRules.h"
#include "timeline/SnapProvider.h"

// A start snaps onto a shot change, where a subtitle is best started; an end snaps to
// where the shot-change rules end it, the gap before the cut, so a snapped end is never
// one the check would flag.
class ShotChangeSnapProvider final : public SnapProvider
{
public:
    // The rules' shot changes must outlive the provider (one step of a drag).
    explicit ShotChangeSnapProvider(const ShotChangeRules &rules);
    void offer(const Query &query, QList<double> &times) const override;

private:
    ShotChangeRules m_rules;
};
