#pragma once

// The speeds plain playing can be set to, in steps a user can hear apart: slow enough to
// catch a word, fast enough to skim. Speeds between two steps go to the next step up or
// down; the ends stay where they are.
class PlaybackSpeed
{
public:
    static constexpr double normal = 1;
    static constexpr double slowest = 0.5;
    static constexpr double fastest = 2;

    static double faster(double speed);
    static double slower(double speed);
    // Any number as a speed the player may take: within the range, 1 for nonsense.
    static double bounded(double speed);
};
