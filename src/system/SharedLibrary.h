#pragma once

#include "model/Expected.h"
#include "model/Fatal.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QString>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

// System libraries opened while the program runs, the first time they are needed, and
// kept open to the end; their functions are found by name. Loading libmpv and FFmpeg
// (and the two hundred libraries they need) takes longer at every start than reading
// a large subtitle file, and most starts never play a video.
class SharedLibrary
{
    Q_DECLARE_TR_FUNCTIONS(SharedLibrary)

public:
    // Each file by its name and major version: {"mpv", 2} opens "libmpv.so.2".
    explicit SharedLibrary(std::initializer_list<std::pair<const char *, int>> files);

    // Sets `function` to the function of that name in any of the files; when none has
    // it, leaves it null and remembers the name as the error.
    template <typename Function>
    void resolve(Function &function, const char *name)
    {
        function = reinterpret_cast<Function>(find(name));
    }

    // The function table an open() gave, which must have succeeded: whatever uses the
    // functions (a player, a decoder) exists only once it has.
    template <typename Functions>
    static const Functions &required(const Expected<const Functions *, QString> &opened)
    {
        if (!opened)
            CUEWRIGHT_FATAL("a library's functions used before it was opened");
        return *opened.value();
    }

    bool isLoaded() const { return m_error.isEmpty(); }
    // Why a file could not be opened or a function was not found.
    QString errorString() const { return m_error; }

private:
    QFunctionPointer find(const char *name);

    std::vector<std::unique_ptr<QLibrary>> m_files;
    QString m_error;
};
