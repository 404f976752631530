#include "app/window/EncodingPreview.h"

#include "document/Document.h"
#include "document/TextEncoding.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

EncodingPreview::EncodingPreview(Document *document, std::function<void(int encoding)> reopen, QWidget *parent)
    : QFrame(parent)
    , m_document(document)
    , m_reopen(std::move(reopen))
    , m_encodings(new QComboBox(this))
    , m_excerpt(new QPlainTextEdit(this))
{
    setFrameShape(QFrame::StyledPanel);
    auto *label = new QLabel(tr("The text encoding of this file is a guess. Does the text read right?"), this);
    auto *chooser = new QLabel(tr("&Read as:"), this);
    chooser->setBuddy(m_encodings);
    auto *reopenButton = new QPushButton(tr("Reo&pen in This Encoding"), this);
    auto *keepButton = new QPushButton(tr("&Keep"), this);
    m_excerpt->setReadOnly(true);
    m_excerpt->setAccessibleName(tr("The text read in this encoding"));
    setAccessibleName(tr("Text encoding"));
    m_excerpt->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_excerpt->setMaximumHeight(m_excerpt->fontMetrics().lineSpacing() * 5 + 2 * m_excerpt->frameWidth() + 8);

    auto *row = new QHBoxLayout;
    row->addWidget(chooser);
    row->addWidget(m_encodings, 1);
    row->addWidget(reopenButton);
    row->addWidget(keepButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(m_excerpt);

    connect(m_encodings, &QComboBox::currentIndexChanged, this, &EncodingPreview::showExcerpt);
    connect(reopenButton, &QPushButton::clicked, this, [this] {
        // The guess itself needs no reading again: keeping it is the answer.
        if (m_encodings->currentIndex() <= 0)
            m_document->acceptEncoding();
        else
            m_reopen(m_encodings->currentData().toInt());
    });
    connect(keepButton, &QPushButton::clicked, m_document, &Document::acceptEncoding);
    connect(document, &Document::encodingChanged, this, &EncodingPreview::update);
    update();
}

void EncodingPreview::update()
{
    const QList<TextEncoding::Considered> &considered = m_document->consideredEncodings();
    m_encodings->clear();
    for (const TextEncoding::Considered &reading : considered)
        m_encodings->addItem(TextEncoding::displayName(reading.encoding), reading.encoding);
    setVisible(!considered.isEmpty());
}

void EncodingPreview::showExcerpt(int index)
{
    const QList<TextEncoding::Considered> &considered = m_document->consideredEncodings();
    m_excerpt->setPlainText(index >= 0 && index < considered.size() ? considered[index].excerpt : QString());
}
