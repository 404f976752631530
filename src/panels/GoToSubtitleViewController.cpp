#include "panels/GoToSubtitleViewController.h"

#include "document/Document.h"
#include "panels/TransientWindow.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>
#include <optional>

namespace {

// A decimal integer in its strict form: an optional sign, then one or more ASCII digits.
// Magnitudes above `limit` come back as limit + 1, so a long run of digits cannot overflow.
std::optional<qint64> readInteger(QStringView text, qint64 limit)
{
    qsizetype i = 0;
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        i = 1;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(value * 10 + (c - u'0'), limit + 1);
    }
    return negative ? -value : value;
}

// A magnifying glass in the text colour, for desktops whose icon theme has none.
QPixmap drawnSearchIcon(int size, qreal devicePixelRatio, const QColor &color)
{
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    painter.setPen(QPen(color, 1.6 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(QRectF(2 * unit, 2 * unit, 8.5 * unit, 8.5 * unit));
    painter.setPen(QPen(color, 2.2 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(9.6 * unit, 9.6 * unit), QPointF(14 * unit, 14 * unit));
    return pixmap;
}

} // namespace

GoToSubtitleViewController *GoToSubtitleViewController::open(Document *document, QWidget *window)
{
    // One panel at a time: asked again from its window, it comes forward.
    static QPointer<GoToSubtitleViewController> open;
    if (open && open->isVisible()) {
        if (open->window()->parentWidget() == window) {
            open->window()->activateWindow();
            return open;
        }
        open->window()->close();
    }
    auto *panel = new TransientWindow(window);
    auto *controller = new GoToSubtitleViewController(document, panel);
    open = controller;
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(controller);
    controller->m_numberField->setFocus();
    panel->present();
    return controller;
}

bool GoToSubtitleViewController::goToSubtitle(Document *document, const QString &text)
{
    if (!document)
        return false;
    const int count = document->subtitleController().count();
    const std::optional<qint64> number = readInteger(text, count);
    if (!number || *number < 1 || *number > count)
        return false;
    document->setSelectedSubtitleIndexes(IndexSet(int(*number - 1)));
    return true;
}

GoToSubtitleViewController::GoToSubtitleViewController(Document *document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_imageView(new QLabel(this))
    , m_numberField(new QLineEdit(this))
{
    constexpr int iconSize = 16;
    const QIcon themeIcon = QIcon::fromTheme(QStringLiteral("edit-find"),
                                             QIcon::fromTheme(QStringLiteral("system-search")));
    m_imageView->setPixmap(themeIcon.isNull()
                               ? drawnSearchIcon(iconSize, devicePixelRatioF(), palette().color(QPalette::WindowText))
                               : themeIcon.pixmap(iconSize, devicePixelRatioF()));
    // Clicks on the icon reach the panel, which moves when dragged by its background.
    m_imageView->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_numberField->setPlaceholderText(tr("Subtitle number"));
    m_numberField->setMinimumWidth(160);
    m_numberField->setAccessibleName(tr("Go to subtitle number"));
    connect(m_numberField, &QLineEdit::returnPressed, this, &GoToSubtitleViewController::goToTypedSubtitle);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(8);
    layout->addWidget(m_imageView);
    layout->addWidget(m_numberField);
}

void GoToSubtitleViewController::goToTypedSubtitle()
{
    goToSubtitle(m_document, m_numberField->text());
    window()->close();
}
