#include "app/window/QualityProfileButton.h"

#include "document/Document.h"

#include <QMenu>

QualityProfileButton::QualityProfileButton(Document *document, QMenu *profiles, QWidget *parent)
    : QToolButton(parent)
    , m_document(document)
{
    setAutoRaise(true);
    // No taller than the status bar's labels: a taller bar would take its height from the timeline.
    setMaximumHeight(fontMetrics().height() + 2);
    setPopupMode(QToolButton::InstantPopup);
    setMenu(profiles);
    setToolTip(tr("The quality profile this document's subtitles are checked by"));
    updateText();
    connect(document, &Document::qualityProfileChanged, this, &QualityProfileButton::updateText);
}

void QualityProfileButton::updateText()
{
    setText(QString(m_document->qualityProfileName()).replace(u'&', QStringLiteral("&&")));
}
