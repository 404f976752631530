#include "speech/PocketsphinxAligner.h"

#include "speech/LetterPronunciation.h"
#include "speech/PocketsphinxLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace {
// Every phone of the model, each a "word" of its own, for the loop that stands for
// whatever is spoken around the line.
const char *const phones[] = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D",  "DH", "EH", "ER", "EY",
                              "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M",  "N",  "NG", "OW", "OY",
                              "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V",  "W",  "Y",  "Z",  "ZH"};
constexpr double frameSeconds = 0.01;
const char *const searchName = "line";

QString tr(const char *text)
{
    return QCoreApplication::translate("PocketsphinxAligner", text);
}

// The recogniser's own name of a phone word: never a word of the language.
QString phoneWord(const char *phone)
{
    return QStringLiteral("phone_") + QString::fromLatin1(phone).toLower();
}
} // namespace

QString PocketsphinxAligner::defaultModelFolder()
{
    return QStringLiteral("/usr/share/pocketsphinx/model/en-us");
}

Expected<std::unique_ptr<PocketsphinxAligner>, QString> PocketsphinxAligner::create(const QString &modelFolder)
{
    const auto opened = PocketsphinxLibrary::open();
    if (!opened)
        return opened.error();
    const PocketsphinxLibrary &library = *opened.value();
    const QString acoustic = QDir(modelFolder).filePath(QStringLiteral("en-us"));
    const QString dictionary = QDir(modelFolder).filePath(QStringLiteral("cmudict-en-us.dict"));
    if (!QFileInfo(acoustic).isDir() || !QFileInfo(dictionary).isFile())
        return tr("No speech model for English is installed (looked in %1).").arg(QDir::toNativeSeparators(modelFolder));
    const QByteArray acousticPath = QFile::encodeName(acoustic);
    const QByteArray dictionaryPath = QFile::encodeName(dictionary);
    cmd_ln_t *config = library.cmd_ln_init(nullptr, library.ps_args(), 1, "-hmm", acousticPath.constData(), "-dict",
                                           dictionaryPath.constData(), "-remove_silence", "no", "-logfn", "/dev/null",
                                           static_cast<const char *>(nullptr));
    if (!config)
        return tr("The speech recogniser did not take its settings.");
    ps_decoder_t *decoder = library.ps_init(config);
    if (!decoder) {
        library.cmd_ln_free_r(config);
        return tr("The speech recogniser could not load its model from %1.").arg(QDir::toNativeSeparators(modelFolder));
    }
    return std::unique_ptr<PocketsphinxAligner>(new PocketsphinxAligner(library, config, decoder));
}

PocketsphinxAligner::PocketsphinxAligner(const PocketsphinxLibrary &library, cmd_ln_s *config, ps_decoder_s *decoder)
    : m_library(library)
    , m_config(config)
    , m_decoder(decoder)
{
    QStringList loop;
    for (const char *phone : phones) {
        const QByteArray word = phoneWord(phone).toLatin1();
        m_library.ps_add_word(m_decoder, word.constData(), phone, 0);
        loop << QString::fromLatin1(word);
    }
    m_phoneLoop = QStringLiteral("<other> = (%1);\n").arg(loop.join(QStringLiteral(" | ")));
}

PocketsphinxAligner::~PocketsphinxAligner()
{
    m_library.ps_free(m_decoder);
    m_library.cmd_ln_free_r(m_config);
}

// The line's words in order, anything before and after them; a word the dictionary lacks
// is added with a pronunciation from its letters first.
QString PocketsphinxAligner::grammarFor(const QStringList &words)
{
    for (const QString &word : words) {
        const QByteArray utf8 = word.toUtf8();
        if (char *known = m_library.ps_lookup_word(m_decoder, utf8.constData())) {
            free(known);
            continue;
        }
        const QByteArray pronunciation = LetterPronunciation::phones(word).toLatin1();
        if (!pronunciation.isEmpty())
            m_library.ps_add_word(m_decoder, utf8.constData(), pronunciation.constData(), 0);
    }
    return QStringLiteral("#JSGF V1.0;\ngrammar line;\n") + m_phoneLoop
           + QStringLiteral("public <line> = <other>* %1 <other>*;\n").arg(words.join(u' '));
}

Expected<QList<SpokenWord>, QString> PocketsphinxAligner::align(const QStringList &words, std::span<const qint16> sound,
                                                                double start)
{
    // A word of letters the model has no sound for (another script) cannot be looked for.
    QStringList usable;
    for (const QString &word : words) {
        if (!LetterPronunciation::phones(word).isEmpty())
            usable << word;
    }
    if (usable.isEmpty())
        return tr("The line has no words to look for.");
    const QByteArray grammar = grammarFor(usable).toUtf8();
    if (m_library.ps_set_jsgf_string(m_decoder, searchName, grammar.constData()) != 0
        || m_library.ps_set_search(m_decoder, searchName) != 0)
        return tr("The speech recogniser did not take the line's words.");
    if (m_library.ps_start_utt(m_decoder) < 0)
        return tr("The speech recogniser could not start.");
    m_library.ps_process_raw(m_decoder, sound.data(), sound.size(), 0, 1);
    m_library.ps_end_utt(m_decoder);

    QList<SpokenWord> found;
    qsizetype next = 0;
    for (ps_seg_t *segment = m_library.ps_seg_iter(m_decoder); segment; segment = m_library.ps_seg_next(segment)) {
        const char *name = m_library.ps_seg_word(segment);
        if (!name || next >= usable.size())
            continue;
        // Alternative pronunciations come back as "word(2)".
        QString word = QString::fromUtf8(name);
        word = word.left(word.indexOf(u'('));
        if (word != usable.at(next))
            continue;
        int first = 0;
        int last = 0;
        m_library.ps_seg_frames(segment, &first, &last);
        found.append({word, start + first * frameSeconds, start + (last + 1) * frameSeconds});
        ++next;
    }
    if (found.size() != usable.size())
        return tr("The line's words were not found in the sound.");
    return found;
}
