#pragma once

#include "speech/WordAligner.h"

#include <memory>

class PocketsphinxLibrary;
struct cmd_ln_s;
struct ps_decoder_s;

// Debian's pocketsphinx with its US English model. The line's words are forced through a
// grammar of their own, between loops of single phones that take up whatever else is
// spoken in the stretch; words the dictionary lacks get a pronunciation read from their
// letters. Silence is not cut out before the words are placed: doing so moves them.
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
    PocketsphinxAligner(const PocketsphinxLibrary &library, cmd_ln_s *config, ps_decoder_s *decoder);
    QString grammarFor(const QStringList &words);

    const PocketsphinxLibrary &m_library;
    cmd_ln_s *m_config;
    ps_decoder_s *m_decoder;
    QString m_phoneLoop; // the grammar's rule for "anything else"
};
