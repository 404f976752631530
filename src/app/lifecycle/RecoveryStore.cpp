#include "app/lifecycle/RecoveryStore.h"

#include "document/SubtitleFile.h"
#include "document/TextEncoding.h"
#include "format/OwnFile.h"
#include "format/SubtitleFormatIo.h"
#include "format/SubtitleParser.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QPointF>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <cmath>

namespace {

constexpr QFile::Permissions privateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr qint64 descriptionLimit = 1024 * 1024;

// Window state in JSON: a point as {"x", "y"}, bytes (geometry) as {"base64"}; numbers
// and text as they are.
QJsonObject windowStateToJson(const QVariantMap &state)
{
    QJsonObject json;
    for (auto it = state.cbegin(); it != state.cend(); ++it) {
        const QVariant &value = it.value();
        if (value.typeId() == QMetaType::QPointF || value.typeId() == QMetaType::QPoint) {
            const QPointF point = value.toPointF();
            json.insert(it.key(), QJsonObject{{QStringLiteral("x"), point.x()}, {QStringLiteral("y"), point.y()}});
        } else if (value.typeId() == QMetaType::QByteArray) {
            json.insert(it.key(), QJsonObject{{QStringLiteral("base64"), QString::fromLatin1(value.toByteArray().toBase64())}});
        } else if (const QJsonValue plain = QJsonValue::fromVariant(value); plain.isDouble() || plain.isString() || plain.isBool()) {
            json.insert(it.key(), plain);
        }
    }
    return json;
}

QVariantMap windowStateFromJson(const QJsonObject &json)
{
    QVariantMap state;
    for (auto it = json.constBegin(); it != json.constEnd(); ++it) {
        const QJsonValue value = it.value();
        if (value.isObject() && value.toObject().contains(QStringLiteral("base64"))) {
            state.insert(it.key(), QByteArray::fromBase64(value.toObject().value(QStringLiteral("base64")).toString().toLatin1()));
        } else if (value.isObject()) {
            const QJsonObject point = value.toObject();
            state.insert(it.key(), QPointF(point.value(QStringLiteral("x")).toDouble(), point.value(QStringLiteral("y")).toDouble()));
        } else if (value.isDouble() || value.isString() || value.isBool()) {
            state.insert(it.key(), value.toVariant());
        }
    }
    return state;
}

} // namespace

RecoveryStore::RecoveryStore(QString directory)
    : m_directory(std::move(directory))
{
}

QString RecoveryStore::defaultDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
}

QString RecoveryStore::newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString RecoveryStore::textPath(const QString &id) const
{
    return m_directory + u'/' + id + QStringLiteral(".srt");
}

QString RecoveryStore::infoPath(const QString &id) const
{
    return m_directory + u'/' + id + QStringLiteral(".json");
}

Expected<void, QString> RecoveryStore::makePrivateFolder() const
{
    // A link there would take the work (and the folder's mode) somewhere else.
    if (QFileInfo(m_directory).isSymLink())
        return tr("The folder %1 is a symbolic link, which is never followed.").arg(m_directory);
    if (!QDir().mkpath(m_directory)
        || !QFile::setPermissions(m_directory, privateFolder))
        return QObject::tr("The folder %1 cannot be created.").arg(m_directory);
    return {};
}

QByteArray RecoveryStore::serialize(const Description &description)
{
    QJsonObject info;
    info.insert(QStringLiteral("originalPath"), description.originalPath);
    if (description.encoding)
        info.insert(QStringLiteral("encoding"), *description.encoding);
    if (description.subtitleFormat != SubtitleFormat::Srt)
        info.insert(QStringLiteral("format"), SubtitleFormat::key(description.subtitleFormat));
    if (description.fileFormat.crlf)
        info.insert(QStringLiteral("crlf"), true);
    if (description.fileFormat.byteOrderMark)
        info.insert(QStringLiteral("byteOrderMark"), *description.fileFormat.byteOrderMark);
    info.insert(QStringLiteral("savedAt"), description.savedAt.toUTC().toString(Qt::ISODateWithMs));
    if (description.base.exists())
        info.insert(QStringLiteral("base"), QJsonObject::fromVariantMap(description.base.toVariant()));
    if (!description.windowState.isEmpty())
        info.insert(QStringLiteral("window"), windowStateToJson(description.windowState));
    return QJsonDocument(info).toJson();
}

RecoveryStore::Description RecoveryStore::parseDescription(const QByteArray &bytes)
{
    const QJsonObject info = QJsonDocument::fromJson(bytes).object();
    Description description;
    description.originalPath = info.value(QStringLiteral("originalPath")).toString();
    // An encoding number is a whole positive number; anything else means none.
    const double encoding = info.value(QStringLiteral("encoding")).toDouble(-1);
    if (encoding >= 1 && encoding <= 1e6 && encoding == std::floor(encoding))
        description.encoding = int(encoding);
    description.subtitleFormat = SubtitleFormat::fromKey(info.value(QStringLiteral("format")).toString()).value_or(SubtitleFormat::Srt);
    if (!SubtitleFormat::isWritable(description.subtitleFormat))
        description.subtitleFormat = SubtitleFormat::Srt;
    description.fileFormat.crlf = info.value(QStringLiteral("crlf")).toBool();
    if (const QJsonValue mark = info.value(QStringLiteral("byteOrderMark")); mark.isBool())
        description.fileFormat.byteOrderMark = mark.toBool();
    description.savedAt = QDateTime::fromString(info.value(QStringLiteral("savedAt")).toString(), Qt::ISODateWithMs);
    description.base = FileIdentity::fromVariant(info.value(QStringLiteral("base")).toObject().toVariantMap());
    description.windowState = windowStateFromJson(info.value(QStringLiteral("window")).toObject());
    return description;
}

Expected<void, QString> RecoveryStore::save(const QString &id, const SubtitleList &subtitles,
                                            const Description &description, const FormatKeep *keep)
{
    if (auto made = makePrivateFolder(); !made)
        return made;
    const SubtitleFormat::Id format = SubtitleFormat::isWritable(description.subtitleFormat) ? description.subtitleFormat : SubtitleFormat::Srt;
    auto text = SubtitleFile::encoded(subtitles, TextEncoding::Utf8, {{}, format, keep});
    // A text EBU-STL cannot hold yet (a character no table has) is still the user's work:
    // it is kept as SRT.
    Description stored = description;
    if (!text && SubtitleFormat::isBinary(format)) {
        stored.subtitleFormat = SubtitleFormat::Srt;
        text = SubtitleFile::encoded(subtitles, TextEncoding::Utf8, {});
    }
    if (!text)
        return text.error().message;
    // The text first: a kill between the two writes leaves a text without its
    // description, which is still offered.
    if (auto written = OwnFile::write(textPath(id), text.value(), 0600); !written)
        return written;
    return saveDescription(id, stored);
}

Expected<void, QString> RecoveryStore::saveDescription(const QString &id, const Description &description)
{
    if (auto made = makePrivateFolder(); !made)
        return made;
    Description written = description;
    written.savedAt = QDateTime::currentDateTimeUtc();
    return OwnFile::write(infoPath(id), serialize(written), 0600);
}

void RecoveryStore::remove(const QString &id)
{
    QFile::remove(infoPath(id));
    QFile::remove(textPath(id));
}

std::unique_ptr<QLockFile> RecoveryStore::lock(const QString &id) const
{
    if (!makePrivateFolder())
        return nullptr;
    auto lock = std::make_unique<QLockFile>(m_directory + u'/' + id + QStringLiteral(".lock"));
    // A live owner keeps its entry however long it runs; only a dead owner's lock is stale.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QList<RecoveryStore::Entry> RecoveryStore::entries() const
{
    QList<Entry> result;
    const QDir dir(m_directory);
    // A link put at an entry's name would offer (and later replace) a file of someone else's.
    for (const QFileInfo &textFile : dir.entryInfoList({QStringLiteral("*.srt")}, QDir::Files | QDir::NoSymLinks)) {
        Entry entry;
        entry.id = textFile.completeBaseName();
        entry.recoveryPath = textFile.absoluteFilePath();
        if (auto info = OwnFile::read(infoPath(entry.id), descriptionLimit, OwnFile::Links::SymbolicRefused))
            static_cast<Description &>(entry) = parseDescription(info.value());
        if (!entry.savedAt.isValid())
            entry.savedAt = textFile.lastModified().toUTC();
        result.append(entry);
    }
    std::sort(result.begin(), result.end(), [](const Entry &a, const Entry &b) { return a.savedAt < b.savedAt; });
    return result;
}

void RecoveryStore::removeUnfinishedWrites() const
{
    // A write is a new file renamed into place: one still under its temporary name was
    // cut short, and once its owner is gone nobody finishes it.
    const QDir dir(m_directory);
    for (const QString &name : dir.entryList({QStringLiteral("*.new-*")}, QDir::Files | QDir::System | QDir::Hidden)) {
        if (lock(name.section(u'.', 0, 0)))
            QFile::remove(dir.filePath(name));
    }
}

QList<RecoveryStore::Entry> RecoveryStore::claimOrphans() const
{
    removeUnfinishedWrites();
    QList<Entry> result;
    for (Entry &entry : entries()) {
        std::unique_ptr<QLockFile> owned = lock(entry.id);
        if (!owned)
            continue; // its process is still running
        entry.lock = std::move(owned);
        result.append(entry);
    }
    return result;
}

Expected<FormatReading, QString> RecoveryStore::readText(const Entry &entry)
{
    auto bytes = OwnFile::read(entry.recoveryPath, SubtitleFile::maximumSize, OwnFile::Links::SymbolicRefused);
    if (!bytes)
        return bytes.error();
    if (SubtitleFormat::isBinary(entry.subtitleFormat))
        return SubtitleFormatIo::read(entry.subtitleFormat, QString::fromLatin1(bytes.value()));
    if (entry.subtitleFormat != SubtitleFormat::Srt)
        return SubtitleFormatIo::read(entry.subtitleFormat, QString::fromUtf8(bytes.value()), {.repairing = true});
    if (auto subtitles = SubtitleParser::shared().parseUtf8(bytes.value()))
        return FormatReading{std::move(subtitles).value(), nullptr};
    const QString text = QString::fromUtf8(bytes.value());
    auto repaired = TolerantSubtitleReader::read(text);
    if (repaired)
        return FormatReading{std::move(repaired.value().subtitles), nullptr, std::move(repaired.value().repairs)};
    // Cut short inside its last subtitle (a full disk, a crash while writing): the
    // subtitles before it are still the user's work.
    const qsizetype lastBreak = text.lastIndexOf(QStringLiteral("\n\n"));
    if (lastBreak < 0)
        return repaired.error();
    auto shortened = TolerantSubtitleReader::read(QStringView(text).left(lastBreak + 1));
    if (!shortened)
        return repaired.error();
    TolerantSubtitleReader::Result result = std::move(shortened).value();
    TolerantSubtitleReader::Repair leftOut;
    leftOut.line = QStringView(text).left(lastBreak + 2).count(u'\n') + 1;
    leftOut.description = tr("Left out the last subtitle, which was cut short");
    result.repairs.append(leftOut);
    return FormatReading{std::move(result.subtitles), nullptr, std::move(result.repairs)};
}
