#pragma once

#include "document/SubtitleFile.h"
#include "model/Expected.h"
#include "model/quality/OriginalPairing.h"

#include <QObject>
#include <QVariantMap>

#include <memory>
#include <optional>

// The original a translation is made from: a second subtitle file, read as Open reads
// one and never written. Holds its lines and the pairing of the translation's subtitles
// with them; attaching another or detaching it is no change of the document.
class OriginalSubtitles : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool isAttached() const { return m_pairing != nullptr; }
    QString path() const { return m_path; }
    // The encoding chosen when attaching it; absent when it was detected.
    std::optional<int> chosenEncoding() const { return m_chosenEncoding; }
    // The lines, sorted by start; empty while none is attached.
    const SubtitleList &subtitles() const;
    // The pairing with the lines; nullptr while none is attached.
    std::shared_ptr<const OriginalPairing> pairing() const { return m_pairing; }
    // The line paired with a subtitle at these times, or nullptr.
    const Subtitle *pairedWith(double start, double end) const;
    // The original line shown at time t (as the video shows subtitles), or nullptr.
    const Subtitle *lineAt(double t) const;

    // Reads the file (detecting its encoding when `encoding` is Automatic). On failure
    // the message comes back and whatever was attached stays.
    Expected<void, QString> attach(const QString &path, int encoding = TextEncoding::Automatic,
                                   SubtitleFile::Reading reading = SubtitleFile::Reading::Strict, double frameRate = 0);
    void detach();

    // "originalFile" and "originalEncoding" in a window's restorable state.
    void saveState(QVariantMap &state) const;
    // Attaches the original the state names, repairing what it must (it was accepted once);
    // one that is gone or unreadable now leaves none attached and is reported by
    // restoreFailed.
    void restoreState(const QVariantMap &state, double frameRate);

signals:
    // Attached, replaced or detached.
    void changed();
    // The original the restored state names could not be read: why, for the status bar.
    void restoreFailed(const QString &message);

private:
    QString m_path;
    std::optional<int> m_chosenEncoding;
    std::shared_ptr<const OriginalPairing> m_pairing;
};
