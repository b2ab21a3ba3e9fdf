// Escaping of section paths, value names and texts in the settings file.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zel::settings {

// UTF-8, with the bytes 00-1F and 7F and the characters % " = [ ] # written as %XX, so that a raw
// one of them in the file always belongs to the line's structure.
QByteArray escapeField(const QString& text);

// The reverse. False, with `what` saying why, on a raw reserved byte, a bad %XX or invalid UTF-8.
bool unescapeField(QByteArrayView field, QString& text, QString& what);

}  // namespace zel::settings
