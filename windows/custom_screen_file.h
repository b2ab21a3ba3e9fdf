// The custom screen definition file (*.CFG): 16 lines, one per row in index order, each ended
// by CR LF. A line is the label in double quotes, the kind and the number, each field starting
// at a 14-column print zone, numbers in decimal with a leading and a trailing blank:
//
//   "Not Selected" 0             1
//
// The reader takes the quoted label and two numbers separated by blanks or commas, and LF line
// ends as well. A file that breaks a rule is refused as a whole, so a damaged file never fills
// half a screen: fewer or more than 16 lines, a last line without its line end (a cut file), an
// unquoted label or one holding a double quote, a kind outside 0..12, a number outside
// 1..65535 (the most a number field accepts), control bytes. Text is UTF-8; a file that is not
// valid UTF-8 is read as Latin-1.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include "windows/custom_screen_files.h"
#include "windows/custom_screen_rows.h"

namespace zel {

// Larger files are not definitions; refusing them keeps a wrong path from filling memory.
inline constexpr qsizetype kMaxCustomFileBytes = 64 * 1024;

// Reads the 16 rows into `rows`. On a damaged file returns false with `error` naming
// `fileName` and the line, and leaves `rows` as they were.
bool readCustomRows(QByteArrayView bytes, const QString& fileName, CustomRows& rows,
                    QString& error);
bool readCustomRows(QIODevice& device, const QString& fileName, CustomRows& rows, QString& error);

// Rows as a screen makes them (kind 0..12, number 1..65535). A double quote in a label is
// written as a single quote and a control character as a blank, so every file written reads.
QByteArray writeCustomRows(const CustomRows& rows);

// The same for the file at `path`.
bool ReadCustomFile(const QString& path, CustomRows& rows, QString& error);
// Replaces the file at `path` through a temporary file in its folder, so a failed save leaves
// the old file whole. False with `error` set when anything fails.
bool WriteCustomFile(const QString& path, const CustomRows& rows, QString& error);

// The definition files on disk, as a custom screen reads and writes them.
class CustomScreenFileStore final : public CustomScreenFiles {
public:
    std::optional<QString> read(const QString& path, CustomRows& rows) override;
    std::optional<QString> write(const QString& path, const CustomRows& rows) override;
};

}  // namespace zel
