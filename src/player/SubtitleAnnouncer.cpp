#include "player/SubtitleAnnouncer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

class AnnouncerAccessible : public QAccessibleWidget
{
public:
    explicit AnnouncerAccessible(SubtitleAnnouncer *announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<const SubtitleAnnouncer *>(widget())->lastAnnounced();
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *announcerInterface(const QString &, QObject *object)
{
    if (auto *announcer = qobject_cast<SubtitleAnnouncer *>(object))
        return new AnnouncerAccessible(announcer);
    return nullptr;
}

} // namespace

SubtitleAnnouncer::SubtitleAnnouncer(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(&announcerInterface);
        return true;
    }();
    Q_UNUSED(installed)
    // Heard, not seen: a pixel that draws nothing and lets the pointer through, since a
    // screen reader passes over what has no size.
    setFixedSize(1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void SubtitleAnnouncer::announce(const QString &text)
{
    if (text.isEmpty())
        return;
    m_text = text;
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
