#pragma once

#include <QtGlobal>

// Stops the program on a state that only a programming error can reach and from which
// there is no way on.
#define CUEWRIGHT_FATAL(message) qFatal("Fatal error: %s (%s:%d)", message, __FILE__, __LINE__)

// An assumption that a user's actions or the platform might still break. A debug build
// stops there, so that the fault is found; a release build warns and gives false, and
// the caller recovers or refuses. Use as: if (!CUEWRIGHT_EXPECT(ok, "what")) return;
#define CUEWRIGHT_EXPECT(condition, message) cuewrightExpect(bool(condition), message, __FILE__, __LINE__)

inline bool cuewrightExpect(bool holds, const char *message, const char *file, int line)
{
    if (!holds) {
#ifdef QT_DEBUG
        qFatal("Fatal error: %s (%s:%d)", message, file, line);
#else
        qWarning("Unexpected: %s (%s:%d)", message, file, line);
#endif
    }
    return holds;
}
