// What users' machines feed the program besides subtitle text: the descriptions of
// unsaved work left by a crash, settings values and the state windows stored for the
// next start. Whatever the bytes, reading them must not crash, and what comes out must
// be usable.
#include "FuzzCheck.h"

#include "document/Preferences.h"
#include "app/lifecycle/RecoveryStore.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPointF>

#include <cmath>

namespace {

void checkDescription(const QByteArray &bytes)
{
    const RecoveryStore::Description description = RecoveryStore::parseDescription(bytes);
    if (description.encoding)
        FUZZ_CHECK(*description.encoding >= 1 && *description.encoding <= 1000000, QString::number(*description.encoding));
    // Written back and read again, a description stays what it was.
    const RecoveryStore::Description again = RecoveryStore::parseDescription(RecoveryStore::serialize(description));
    FUZZ_CHECK(again.originalPath == description.originalPath, description.originalPath);
    FUZZ_CHECK(again.encoding == description.encoding, QString());
    FUZZ_CHECK(again.base == description.base, QString());
}

void checkSettingValue(const QByteArray &bytes)
{
    for (const QVariant &value : {QVariant(QString::fromUtf8(bytes)), QVariant(bytes)}) {
        const int limit = Preferences::boundedInt(value, 10, 0, 100);
        FUZZ_CHECK(limit >= 0 && limit <= 100, QString::number(limit));
    }
}

void checkWindowState(const QByteArray &bytes)
{
    const QVariantMap state = Preferences::checkedWindowState(QJsonDocument::fromJson(bytes).object().toVariantMap());
    for (const char *key : {"magnification", "currentTime"}) {
        if (state.contains(QLatin1String(key))) {
            const double number = state.value(QLatin1String(key)).toDouble();
            FUZZ_CHECK(std::isfinite(number) && number >= 0, QLatin1String(key));
        }
    }
    if (state.contains(QStringLiteral("selectedIndex")))
        FUZZ_CHECK(state.value(QStringLiteral("selectedIndex")).toInt() >= 0, QString());
    if (state.contains(QStringLiteral("offset"))) {
        const QPointF offset = state.value(QStringLiteral("offset")).toPointF();
        FUZZ_CHECK(std::isfinite(offset.x()) && offset.x() >= 0, QString());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkDescription(bytes);
    checkSettingValue(bytes);
    checkWindowState(bytes);
    return 0;
}
