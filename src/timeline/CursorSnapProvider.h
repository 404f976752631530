#pragma once

#include "timeline/SnapProvider.h"

// Either edge snaps to the playback cursor.
class CursorSnapProvider final : public SnapProvider
{
public:
    explicit CursorSnapProvider(double cursorTime);
    void offer(const Query &query, QList<double> &times) const override;

private:
    double m_time;
};
