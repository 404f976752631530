#pragma once

#include <QtGlobal>

// Stops the program on a state that only a programming error can reach.
#define CUEWRIGHT_FATAL(message) qFatal("Fatal error: %s (%s:%d)", message, __FILE__, __LINE__)
