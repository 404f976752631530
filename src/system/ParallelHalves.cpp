#include "system/ParallelHalves.h"

#include <exception>
#include <thread>

void ParallelHalves::run(const std::function<void()> &here, const std::function<void()> &beside)
{
    std::exception_ptr besideFailure;
    {
        // Joined on the way out, also when `here` throws.
        std::jthread thread([&] {
            try {
                beside();
            } catch (...) {
                besideFailure = std::current_exception();
            }
        });
        here();
    }
    if (besideFailure)
        std::rethrow_exception(besideFailure);
}
