#include "system/SharedLibrary.h"

SharedLibrary::SharedLibrary(std::initializer_list<std::pair<const char *, int>> files)
{
    for (const auto &[name, version] : files) {
        // The exact file name: given a name and a version, QLibrary also tries the name
        // without its version, which may be another version with another interface.
        auto file = std::make_unique<QLibrary>(QStringLiteral("lib%1.so.%2").arg(QLatin1String(name)).arg(version));
        if (!file->load() && m_error.isEmpty())
            m_error = file->errorString();
        m_files.push_back(std::move(file));
    }
}

QFunctionPointer SharedLibrary::find(const char *name)
{
    for (const auto &file : m_files) {
        if (!file->isLoaded())
            continue;
        if (const QFunctionPointer function = file->resolve(name))
            return function;
    }
    if (m_error.isEmpty())
        m_error = tr("The function %1 was not found.").arg(QString::fromLatin1(name));
    return nullptr;
}
