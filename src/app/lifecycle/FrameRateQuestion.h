#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

class QWidget;

// Files that count frames (MicroDVD) and do not say at which rate: the user is asked
// before the file is read, since no video tells it yet.
class FrameRateQuestion
{
    Q_DECLARE_TR_FUNCTIONS(FrameRateQuestion)

public:
    // The rate the user chose for the file at `path`; nothing when the file needs none,
    // says its own, or the user left the question.
    static std::optional<double> askFor(const QString &path, QWidget *parent);
};
