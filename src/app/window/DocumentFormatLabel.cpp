#include "app/window/DocumentFormatLabel.h"

#include "document/Document.h"

DocumentFormatLabel::DocumentFormatLabel(Document *document, QWidget *parent)
    : QLabel(parent)
    , m_document(document)
{
    setTextFormat(Qt::PlainText);
    connect(document, &Document::encodingChanged, this, &DocumentFormatLabel::update);
    update();
}

void DocumentFormatLabel::update()
{
    const int encoding = m_document->encodingForSaving();
    const TextFileFormat &format = m_document->fileFormat();
    QString text = tr("%1 · %2 · %3").arg(SubtitleFormat::shortName(m_document->subtitleFormat()),
                                          TextEncoding::displayName(encoding), format.crlf ? tr("CR LF") : tr("LF"));
    if (format.byteOrderMark.value_or(TextEncoding::usualByteOrderMark(encoding).value_or(false)))
        text = tr("%1 · with byte-order mark").arg(text);
    setText(text);
    setToolTip(m_document->encoding() ? tr("The format and encoding the file was read or saved in")
                                      : tr("The format and encoding the document will be saved in"));
}
