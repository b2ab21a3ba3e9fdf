// File operations of the settings store: where the file lives, atomic replacement, and setting
// a damaged file aside.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace zel::settings {

// $XDG_CONFIG_HOME/Orvane/ZEL Monitor/settings.ini, with ~/.config when the variable is unset.
QString defaultSettingsPath();

// Replaces the file at `path` with `bytes` so that a crash at any moment leaves either the old
// file or the new one: written to "<path>.tmp-<pid>", flushed to disk, then renamed over it.
// Creates the file's folder when missing. False with `error` set when anything fails.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString& error);

// Deletes the temporary files that writeFileAtomically left behind for `path` in processes that
// no longer run (a process killed while saving).
void removeStaleTemporaries(const QString& path);

// Renames the file at `path` to "<path>.damaged-yyyyMMdd-hhmmss" (with "-2", "-3", ... when
// that name is taken) so that nothing written later can replace it. Returns the new name, or an
// empty text with `error` set.
QString setAside(const QString& path, const QDateTime& now, QString& error);

}  // namespace zel::settings
