#pragma once

#include "model/Expected.h"

#include <QCoreApplication>
#include <QStringList>

#include <optional>

// How every command-line mode reads an option's value, so that `--fps 25` and
// `--fps=25` mean the same wherever they are taken.
class CommandLineOption
{
    Q_DECLARE_TR_FUNCTIONS(CommandLineOption)

public:
    // The value of `--name VALUE` or `--name=VALUE` when `arguments[i]` is that option
    // (`i` then stands on the last argument used; an empty value when nothing follows),
    // nullopt when it is another.
    static std::optional<QString> valueOf(QLatin1String name, const QStringList &arguments, qsizetype &i);
    // The rate `--fps` gives, from 1 to 1000 frames a second, or the message refusing it.
    [[nodiscard]] static Expected<double, QString> frameRate(const QString &value);
};
