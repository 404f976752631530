#pragma once

#include <QString>

class QObject;

// Tells a screen reader a drawn widget's name and description, only when the words
// change: a timeline's cursor moves a hundred times a second, the subtitle under it seldom.
class AccessibleTextNotifier
{
public:
    explicit AccessibleTextNotifier(QObject *widget);

    void update(const QString &name, const QString &description);

private:
    QObject *m_widget;
    QString m_name; // as last told
    QString m_description;
};
