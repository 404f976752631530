#pragma once

#include "timeline/SnapProvider.h"

class ShotChanges;

// Either edge snaps to a shot change, where a subtitle is best started or ended.
class ShotChangeSnapProvider final : public SnapProvider
{
public:
    // The list must outlive the provider (one step of a drag).
    explicit ShotChangeSnapProvider(const ShotChanges &shotChanges);
    void offer(const Query &query, QList<double> &times) const override;

private:
    const ShotChanges &m_shotChanges;
};
