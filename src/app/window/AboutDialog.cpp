#include "app/window/AboutDialog.h"

#include "app/window/AppIcon.h"
#include "player/MpvLibrary.h"
#include "decoding/FfmpegLibrary.h"

#include "BuildInfo.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

#include <unicode/uversion.h>

namespace {

// The mpv release is a property of a running instance; a short-lived one without
// video or audio output costs a fraction of a second. Falls back to the client API
// version when mpv cannot start (it refuses to unless LC_NUMERIC is "C").
QString mpvVersion()
{
    if (const auto library = MpvLibrary::open(); !library)
        return AboutDialog::tr("not available");
    const unsigned long api = libmpv().mpv_client_api_version();
    const QString apiText = QStringLiteral("%1.%2").arg(api >> 16).arg(api & 0xffff);
    mpv_handle *mpv = libmpv().mpv_create();
    if (!mpv)
        return AboutDialog::tr("client API %1").arg(apiText);
    libmpv().mpv_set_option_string(mpv, "vo", "null");
    libmpv().mpv_set_option_string(mpv, "ao", "null");
    libmpv().mpv_set_option_string(mpv, "idle", "yes");
    QString version;
    if (libmpv().mpv_initialize(mpv) >= 0) {
        if (char *text = libmpv().mpv_get_property_string(mpv, "mpv-version")) {
            version = QString::fromUtf8(text).remove(QStringLiteral("mpv ")).trimmed();
            libmpv().mpv_free(text);
        }
    }
    libmpv().mpv_terminate_destroy(mpv);
    if (version.isEmpty())
        return AboutDialog::tr("client API %1").arg(apiText);
    return AboutDialog::tr("%1 (client API %2)").arg(version, apiText);
}

QString ffmpegVersion()
{
    if (const auto library = FfmpegLibrary::open(); !library)
        return AboutDialog::tr("not available");
    return QString::fromLatin1(ffmpeg().av_version_info());
}

QString icuVersion()
{
    UVersionInfo info;
    u_getVersion(info);
    char text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(info, text);
    return QString::fromLatin1(text);
}

} // namespace

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("About Cuewright"));

    auto icon = new QLabel;
    icon->setPixmap(AppIcon::icon().pixmap(96, 96));
    icon->setAlignment(Qt::AlignTop);

    auto name = new QLabel(QStringLiteral("Cuewright"));
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    name->setFont(nameFont);
    auto version = new QLabel(tr("Version %1 (build %2)").arg(QStringLiteral(CUEWRIGHT_VERSION)).arg(CUEWRIGHT_BUILD_NUMBER));
    version->setObjectName(QStringLiteral("version"));
    auto purpose = new QLabel(tr("An editor for SRT subtitles, timed while the video plays."));
    purpose->setWordWrap(true);

    auto libraryForm = new QFormLayout;
    for (const Library &library : libraries()) {
        auto value = new QLabel(library.version);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        libraryForm->addRow(tr("%1:").arg(library.name), value);
    }

    auto text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addWidget(purpose);
    text->addSpacing(8);
    text->addWidget(new QLabel(tr("Runs on:")));
    text->addLayout(libraryForm);
    text->addStretch();

    auto top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(12);
    top->addLayout(text, 1);

    auto buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::show(QWidget *parent)
{
    // One About window for the whole program.
    static QPointer<AboutDialog> dialog;
    QWidget *window = parent ? parent->window() : nullptr;
    if (!dialog) {
        dialog = new AboutDialog(window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->QDialog::show();
    dialog->raise();
    dialog->activateWindow();
}

QList<AboutDialog::Library> AboutDialog::libraries()
{
    return {
        {QStringLiteral("Qt"), QString::fromLatin1(qVersion())},
        {QStringLiteral("libmpv"), mpvVersion()},
        {QStringLiteral("FFmpeg"), ffmpegVersion()},
        {QStringLiteral("ICU"), icuVersion()},
    };
}
