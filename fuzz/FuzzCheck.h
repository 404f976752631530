#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding: print it and abort, so libFuzzer saves the input.
#define FUZZ_CHECK(condition, detail)                                                      \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: %s failed: %s\n", __FILE__, __LINE__, #condition, \
                         QString(detail).toUtf8().constData());                            \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)

// Fuzz input as text: UTF-8, with invalid sequences replaced (the read path's strict
// decoding is fuzzed separately).
inline QString fuzzText(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}
