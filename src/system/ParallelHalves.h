#pragma once

#include <functional>

// Two halves of one large job at once: one on a thread of its own, the other on the
// caller's. The call returns only when both are done, so neither half outlives what it
// reads or fills; an exception from either half reaches the caller after that (the
// caller's own first), instead of ending the program.
class ParallelHalves
{
public:
    static void run(const std::function<void()> &here, const std::function<void()> &beside);
};
