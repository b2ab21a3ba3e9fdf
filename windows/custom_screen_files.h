// How a custom screen reads and writes its definition file. The screen's rules decide when;
// the file module knows the format.
#pragma once

#include <QString>
#include <optional>

#include "windows/custom_screen_rows.h"

namespace zel {

class CustomScreenFiles {
public:
    virtual ~CustomScreenFiles() = default;
    // Reads the 16 rows of the file at `path` into `rows`; what went wrong when it could not.
    virtual std::optional<QString> read(const QString& path, CustomRows& rows) = 0;
    // Creates or overwrites the file at `path` with the 16 rows; what went wrong when it could not.
    virtual std::optional<QString> write(const QString& path, const CustomRows& rows) = 0;
};

}  // namespace zel
