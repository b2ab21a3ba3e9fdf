// Listing a folder by name prefix. QDir's wildcard filters compile a regular expression each
// time, which pulls a whole regex engine into a start-up that only needs a prefix test.
#pragma once

#include <QDir>
#include <QStringList>
#include <QStringView>

namespace zel {

// The entries of `folder` of the kinds in `filters` whose names start with `prefix`.
QStringList entriesStartingWith(const QDir& folder, QStringView prefix, QDir::Filters filters);

}  // namespace zel
