#pragma once

#include <QTranslator>

// The English forms of texts that count ("%n subtitle(s)"): "1 subtitle", "2 subtitles".
// The source texts are English with both forms in one; without a translation of its own,
// Qt would show them as written. Installed before any translation, so that one found for
// the user's language always wins.
class EnglishPlurals : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
};
