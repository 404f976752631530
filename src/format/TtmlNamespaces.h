#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

// The namespace slips real TTML files carry, which XML refuses: a prefix of TTML's own
// (ttm:, tts:, ttp:) used without its declaration, and another prefix declared for the XML
// namespace itself (xmlns:id="http://www.w3.org/XML/1998/namespace"), which only xml: may
// name. A repairing read mends them in the root element before the XML is read.
class TtmlNamespaces
{
    Q_DECLARE_TR_FUNCTIONS(TtmlNamespaces)

public:
    struct Mend
    {
        qsizetype line; // counted from 1
        QString description;
    };

    // The text with the root element's declarations mended, and what was mended; the same
    // text and nothing when there is nothing to mend. Lines stay where they were.
    static QString mended(const QString &text, QList<Mend> &mends);
};
