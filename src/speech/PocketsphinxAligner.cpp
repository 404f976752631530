#include "speech/PocketsphinxAligner.h"

#include "model/text/SpokenWords.h"
#include "speech/LetterPronunciation.h"
#include "speech/PocketsphinxLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// Every phone of the model, each a "word" of its own, for the loop that stands for
// whatever is spoken around the line.
const char *const phones[] = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D",  "DH", "EH", "ER", "EY",
                              "F",  "G",  "HH", "IH", "IY", "JH", "K",  "L",  "M",  "N",  "NG", "OW", "OY",
                              "P",  "R",  "S",  "SH", "T",  "TH", "UH", "UW", "V",  "W",  "Y",  "Z",  "ZH"};
constexpr double frameSeconds = 0.01;
// Under noise or music at 10 dB the usual beams lose the line's own path to the phone
// loops, and then no path reaches the grammar's end: wide beams keep it. A line that is
// not in the sound still finds no path.
const char *const wideBeam = "1e-150";
// How much worse a frame of the line's words may score than free phones over the same
// stretch. A line's own words score better or a little worse (by -19 to -1 on real and
// synthetic voices, clean and under noise); another line's words score worse by 8 and more.
constexpr double fitLimit = 4;
// The words alone are forced through a stretch only up to this many times as long as they
// take to say (and a little): through a wider one they are spread over other lines' speech,
// and what then passes the fit test is as often a wrong place as the right one.
constexpr double forcedStretchFactor = 2;
constexpr double forcedStretchSlack = 2.5;

QString tr(const char *text)
{
    return QCoreApplication::translate("PocketsphinxAligner", text);
}

// The recogniser's own name of a phone word: never a word of the language.
QByteArray phoneWord(const char *phone)
{
    return QByteArrayLiteral("phone_") + QByteArray(phone).toLower();
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
    Decoder made;
    made.config = library.cmd_ln_init(nullptr, library.ps_args(), 1, "-hmm", acousticPath.constData(), "-dict",
                                      dictionaryPath.constData(), "-remove_silence", "no", "-beam", wideBeam, "-pbeam",
                                      wideBeam, "-wbeam", wideBeam, "-logfn", "/dev/null", static_cast<const char *>(nullptr));
    if (!made.config)
        return tr("The speech recogniser did not take its settings.");
    made.decoder = library.ps_init(made.config);
    if (!made.decoder) {
        library.cmd_ln_free_r(made.config);
        return tr("The speech recogniser could not load its model from %1.").arg(QDir::toNativeSeparators(modelFolder));
    }
    return std::unique_ptr<PocketsphinxAligner>(new PocketsphinxAligner(library, made));
}

PocketsphinxAligner::PocketsphinxAligner(const PocketsphinxLibrary &library, Decoder decoder)
    : m_library(library)
    , m_decoder(decoder)
{
    QStringList loop;
    for (const char *phone : phones) {
        const QByteArray word = phoneWord(phone);
        addWord(word, phone);
        loop << QString::fromLatin1(word);
    }
    m_phoneLoop = QStringLiteral("<other> = (%1);\n").arg(loop.join(QStringLiteral(" | ")));
    m_freeGrammar = (QStringLiteral("#JSGF V1.0;\ngrammar free;\n") + m_phoneLoop + QStringLiteral("public <free> = <other>*;\n")).toUtf8();
}

PocketsphinxAligner::~PocketsphinxAligner()
{
    m_library.ps_free(m_decoder.decoder);
    m_library.cmd_ln_free_r(m_decoder.config);
}

void PocketsphinxAligner::addWord(const QByteArray &word, const QByteArray &pronunciation)
{
    m_library.ps_add_word(m_decoder.decoder, word.constData(), pronunciation.constData(), 0);
}

void PocketsphinxAligner::learn(const QStringList &words)
{
    for (const QString &word : words) {
        const QByteArray utf8 = word.toUtf8();
        if (char *known = m_library.ps_lookup_word(m_decoder.decoder, utf8.constData())) {
            free(known);
            continue;
        }
        const QByteArray pronunciation = LetterPronunciation::phones(word).toLatin1();
        if (!pronunciation.isEmpty())
            addWord(utf8, pronunciation);
    }
}

// The line's words in order, anything before and after them.
QByteArray PocketsphinxAligner::lineGrammar(const QStringList &words) const
{
    return (QStringLiteral("#JSGF V1.0;\ngrammar line;\n") + m_phoneLoop
            + QStringLiteral("public <line> = <other>* %1 <other>*;\n").arg(words.join(u' ')))
        .toUtf8();
}

QByteArray PocketsphinxAligner::wordsGrammar(const QStringList &words)
{
    return QStringLiteral("#JSGF V1.0;\ngrammar words;\npublic <words> = %1;\n").arg(words.join(u' ')).toUtf8();
}

std::optional<PocketsphinxAligner::Decoded> PocketsphinxAligner::decode(const char *search,
                                                                      const QByteArray &grammar,
                                                                      std::span<const qint16> sound,
                                                                      const QStringList &wanted, double start)
{
    ps_decoder_t *ps = m_decoder.decoder;
    if (m_library.ps_set_jsgf_string(ps, search, grammar.constData()) != 0 || m_library.ps_set_search(ps, search) != 0
        || m_library.ps_start_utt(ps) < 0)
        return std::nullopt;
    m_library.ps_process_raw(ps, sound.data(), sound.size(), 0, 1);
    m_library.ps_end_utt(ps);

    Decoded decoded;
    qsizetype next = 0;
    bool any = false;
    for (ps_seg_t *segment = m_library.ps_seg_iter(ps); segment; segment = m_library.ps_seg_next(segment)) {
        any = true;
        int32 acoustic = 0;
        int32 language = 0;
        int32 backoff = 0;
        m_library.ps_seg_prob(segment, &acoustic, &language, &backoff);
        decoded.score += acoustic;
        const char *name = m_library.ps_seg_word(segment);
        if (!name || next >= wanted.size())
            continue;
        // Alternative pronunciations come back as "word(2)".
        QString word = QString::fromUtf8(name);
        word = word.left(word.indexOf(u'('));
        if (word != wanted.at(next))
            continue;
        int first = 0;
        int last = 0;
        m_library.ps_seg_frames(segment, &first, &last);
        decoded.words.append({word, start + first * frameSeconds, start + (last + 1) * frameSeconds});
        ++next;
    }
    if (!any || decoded.words.size() != wanted.size())
        return std::nullopt;
    return decoded;
}

bool PocketsphinxAligner::soundsLikeWords(const QStringList &words, std::span<const qint16> sound,
                                          const QList<SpokenWord> &found, double start)
{
    const auto sample = [&](double time) {
        return std::clamp<qsizetype>(qsizetype(std::llround((time - start) * sampleRate)), 0, qsizetype(sound.size()));
    };
    const qsizetype first = sample(found.constFirst().start);
    const qsizetype last = sample(found.constLast().end);
    const std::span<const qint16> stretch = sound.subspan(size_t(first), size_t(last - first));
    const auto forced = decode("words", wordsGrammar(words), stretch, words, 0);
    const auto free = decode("free", m_freeGrammar, stretch, {}, 0);
    if (!forced || !free)
        return false;
    const double frames = std::max(1.0, double(stretch.size()) / (sampleRate * frameSeconds));
    return double(free->score - forced->score) / frames < fitLimit;
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
    learn(usable);
    std::optional<Decoded> found = decode("line", lineGrammar(usable), sound, usable, start);
    const double seconds = double(sound.size()) / sampleRate;
    if (!found && seconds <= forcedStretchFactor * SpokenWords::sayingSeconds(usable) + forcedStretchSlack)
        found = decode("words", wordsGrammar(usable), sound, usable, start);
    if (!found || !soundsLikeWords(usable, sound, found->words, start))
        return tr("The line's words were not found in the sound.");
    return found->words;
}
