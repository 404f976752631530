#pragma once

#include "speech/WordAligner.h"

#include <QByteArray>

#include <memory>
#include <optional>

class PocketsphinxLibrary;
struct cmd_ln_s;
struct ps_decoder_s;

// Debian's pocketsphinx with its US English model. The line's words are forced through a
// grammar of their own, between loops of single phones that take up whatever else is
// spoken in the stretch; words the dictionary lacks get a pronunciation read from their
// letters. Silence is not cut out before the words are placed: doing so moves them.
// Where the phone loops win everywhere (a voice far from the model's) the words alone are
// placed instead, in a stretch not much longer than they take to say. Either way the
// words must sound about as like the stretch they take as free phones do: forced words
// always land somewhere, and this tells when they are not there.
class PocketsphinxAligner final : public WordAligner
{
public:
    // The model's folder as Debian installs it.
    static QString defaultModelFolder();
    // Opens the libraries and loads the model: a fraction of a second, once per aligner.
    [[nodiscard]] static Expected<std::unique_ptr<PocketsphinxAligner>, QString> create(
        const QString &modelFolder = defaultModelFolder());
    ~PocketsphinxAligner() override;

    QString language() const override { return QStringLiteral("en"); }
    Expected<QList<SpokenWord>, QString> align(const QStringList &words, std::span<const qint16> sound,
                                               double start) override;

private:
    // One recogniser with its settings.
    struct Decoder
    {
        cmd_ln_s *config = nullptr;
        ps_decoder_s *decoder = nullptr;
    };
    // The words of `wanted` found in order (all of them, or none), with the acoustic score
    // of the whole sound.
    struct Decoded
    {
        QList<SpokenWord> words;
        qint64 score = 0;
    };

    PocketsphinxAligner(const PocketsphinxLibrary &library, Decoder decoder);
    void addWord(const QByteArray &word, const QByteArray &phones);
    // Adds the words the dictionary lacks, with a pronunciation from their letters.
    void learn(const QStringList &words);
    QByteArray lineGrammar(const QStringList &words) const;
    static QByteArray wordsGrammar(const QStringList &words);
    std::optional<Decoded> decode(const char *search, const QByteArray &grammar,
                                  std::span<const qint16> sound, const QStringList &wanted, double start);
    bool soundsLikeWords(const QStringList &words, std::span<const qint16> sound, const QList<SpokenWord> &found,
                         double start);

    const PocketsphinxLibrary &m_library;
    Decoder m_decoder;
    QString m_phoneLoop;      // the grammar's rule for "anything else"
    QByteArray m_freeGrammar; // free phones alone
};
