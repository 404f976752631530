#include "app/preferences/EnglishPlurals.h"

#include <QRegularExpression>

QString EnglishPlurals::translate(const char *, const char *sourceText, const char *, int n) const
{
    if (n < 0 || !sourceText || !std::strstr(sourceText, "(s)"))
        return {};
    QString text = QString::fromUtf8(sourceText);
    text.replace(QStringLiteral("(s)"), n == 1 ? QString() : QStringLiteral("s"));
    return text;
}
