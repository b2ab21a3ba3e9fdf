#include "app/status_log.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "common/number_text.h"

namespace zel {

QString StatusLog::defaultPath() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/Orvane/ZEL Monitor/zelmon.log");
}

StatusLog::StatusLog(const QString& filePath)
    : file_(filePath.isEmpty() ? defaultPath() : filePath) {
    QDir().mkpath(QFileInfo(file_).absolutePath());
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        openError_ = file_.fileName() + QStringLiteral(": ") + file_.errorString();
}

namespace {

constexpr qint64 kRepeatWindowMs = 60'000;

// The text with every run of digits made one '#', so counted repeats compare equal.
QString shapeOf(const QString& text) {
    QString shape;
    shape.reserve(text.size());
    bool inDigits = false;
    for (const QChar c : text) {
        const bool digit = isAsciiDigit(c);
        if (!digit)
            shape += c;
        else if (!inDigits)
            shape += u'#';
        inDigits = digit;
    }
    return shape;
}

}  // namespace

void StatusLog::write(const QString& text) {
    const QDateTime now = QDateTime::currentDateTime();
    const QString shape = shapeOf(text);
    if (shape == lastShape_ && now.toMSecsSinceEpoch() - lastWrittenMs_ < kRepeatWindowMs) {
        ++repeats_;
        return;
    }
    if (repeats_ > 0)
        writeLine(now.toString(Qt::ISODateWithMs) +
                  QStringLiteral(" (%1 similar lines left out)").arg(repeats_));
    repeats_ = 0;
    lastShape_ = shape;
    lastWrittenMs_ = now.toMSecsSinceEpoch();
    // Multi-line texts (a phrase, a line feed, the library's text) stay on one log line.
    writeLine(now.toString(Qt::ISODateWithMs) + QLatin1Char(' ') +
              QString(text).replace(QLatin1Char('\n'), QStringLiteral(" | ")).simplified());
}

void StatusLog::writeLine(const QString& line) {
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    if (file_.isOpen()) {
        file_.write(bytes);
        file_.flush();
    }
}

}  // namespace zel
