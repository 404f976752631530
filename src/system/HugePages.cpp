#include "system/HugePages.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <cstdint>

void HugePages::advise(void *data, qsizetype size)
{
#ifdef MADV_HUGEPAGE
    if (size < minimumSize)
        return;
    constexpr std::uintptr_t hugePage = 2 << 20;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + hugePage - 1) & ~(hugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + std::uintptr_t(size)) & ~(hugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}
