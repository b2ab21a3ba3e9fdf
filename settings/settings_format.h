// The settings file format, read from any byte stream and written to a byte buffer.
//
// UTF-8 text, one item per line, every line ending in LF:
//
//   ZEL Monitor settings 1                  first line, names the format and its version
//   # any comment                           comments and empty lines are ignored
//   [Software\Orvane\ZEL Monitor\Main]      a section, by its full path
//   Top=1008                                a number: optional '-', decimal digits, 32-bit
//   Symbol Table="/home/ann/plant.sym"      a text: everything between the two quotes
//   END                                     last line; without it the file was cut short
//
// In paths, names and texts the bytes 00-1F and 7F and the characters % " = [ ] # are written
// as %XX (two hex digits), so any text, NULs and line breaks included, reads back unchanged.
// A file that breaks any rule (an empty one included) is damaged as a whole: a cut can leave a
// line that still looks valid, so no part of such a file is trusted.
#pragma once

#include "settings/settings_data.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <optional>

namespace zel::settings {

// Larger files are not settings files; refusing them keeps a wrong path from filling memory.
inline constexpr qsizetype kMaxSettingsFileBytes = 1024 * 1024;

struct ReadError {
    int line = 0;  // 1-based; 0 when the fault is not on one line
    QString what;
    QString text() const;
};

struct ReadResult {
    SettingsData data;
    std::optional<ReadError> error;  // set when the input is damaged; `data` is then empty
};

ReadResult readSettings(QByteArrayView bytes);
ReadResult readSettings(QIODevice& device);

QByteArray writeSettings(const SettingsData& data);

}  // namespace zel::settings
