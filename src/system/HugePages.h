#pragma once

#include <QtGlobal>

// Large buffers (a whole file read or written) are asked to be backed by huge pages:
// each fault of a fresh page costs about as much as the work on its bytes, and a huge
// page takes the place of 512 of them. Only advice; without it nothing changes.
class HugePages
{
public:
    static constexpr qsizetype minimumSize = 4 << 20;

    // Call before the buffer is first written.
    static void advise(void *data, qsizetype size);
};
