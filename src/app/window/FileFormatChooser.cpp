#include "app/window/FileFormatChooser.h"

#include "document/TextEncoding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

FileFormatChooser::FileFormatChooser(const TextFileFormat &format, std::optional<int> readEncoding, QWidget *parent)
    : QWidget(parent)
    , m_format(format)
    , m_readEncoding(readEncoding)
    , m_lineEndings(new QComboBox(this))
    , m_byteOrderMark(new QCheckBox(tr("Byte-order mark"), this))
{
    m_lineEndings->addItem(tr("LF (Linux, macOS)"), false);
    m_lineEndings->addItem(tr("CR LF (Windows)"), true);
    m_lineEndings->setCurrentIndex(format.crlf ? 1 : 0);
    auto *label = new QLabel(tr("Line endings:"), this);
    label->setBuddy(m_lineEndings);
    connect(m_byteOrderMark, &QCheckBox::clicked, this, [this] { m_markChosen = true; });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(m_lineEndings);
    layout->addWidget(m_byteOrderMark);
}

void FileFormatChooser::setEncoding(int encoding)
{
    const std::optional<bool> usual = TextEncoding::usualByteOrderMark(encoding);
    m_byteOrderMark->setEnabled(usual.has_value());
    if (!m_markChosen)
        m_byteOrderMark->setChecked(m_format.forWriting(m_readEncoding, encoding).byteOrderMark.value_or(usual.value_or(false)));
}

TextFileFormat FileFormatChooser::format() const
{
    TextFileFormat format;
    format.crlf = m_lineEndings->currentData().toBool();
    if (m_byteOrderMark->isEnabled())
        format.byteOrderMark = m_byteOrderMark->isChecked();
    return format;
}
