#include "timeline/AccessibleTextNotifier.h"

#include <QAccessible>

AccessibleTextNotifier::AccessibleTextNotifier(QObject *widget)
    : m_widget(widget)
{
}

void AccessibleTextNotifier::update(const QString &name, const QString &description)
{
    if (name != m_name) {
        m_name = name;
        QAccessibleEvent event(m_widget, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (description != m_description) {
        m_description = description;
        QAccessibleEvent event(m_widget, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    }
}
