#pragma once

#include "document/TextFileFormat.h"

#include <QWidget>

class QCheckBox;
class QComboBox;

// The Save dialog's choice of line endings and byte-order mark, preset to what the file
// has. The mark can be chosen for UTF-8, UTF-16 and UTF-32 with a byte order only.
class FileFormatChooser : public QWidget
{
    Q_OBJECT

public:
    // `format` as the document has it, read with `readEncoding` (absent: a new document).
    FileFormatChooser(const TextFileFormat &format, std::optional<int> readEncoding, QWidget *parent = nullptr);

    // The encoding the save will write: the mark box follows it until the user ticks it.
    void setEncoding(int encoding);
    TextFileFormat format() const;

private:
    TextFileFormat m_format;
    std::optional<int> m_readEncoding;
    QComboBox *m_lineEndings;
    QCheckBox *m_byteOrderMark;
    bool m_markChosen = false;
};
