#include "app/commandline/CommandLineOption.h"

std::optional<QString> CommandLineOption::valueOf(QLatin1String name, const QStringList &arguments, qsizetype &i)
{
    const QString &argument = arguments[i];
    if (argument == name)
        return i + 1 < arguments.size() ? arguments[++i] : QString();
    if (argument.size() > name.size() && argument.startsWith(name) && argument[name.size()] == u'=')
        return argument.sliced(name.size() + 1);
    return std::nullopt;
}

Expected<double, QString> CommandLineOption::frameRate(const QString &value)
{
    bool ok = false;
    const double rate = value.toDouble(&ok);
    // Written so that NaN fails too.
    if (!ok || !(rate >= 1 && rate <= 1000))
        return tr("The option \"--fps\" needs a frame rate from 1 to 1000, such as 23.976.\n");
    return rate;
}
