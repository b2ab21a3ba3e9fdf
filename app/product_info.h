// The product's name, version and maker as the splash, the about box and the titles show them.
#pragma once

#include <QString>

namespace zel {

inline const QString kProductName = QStringLiteral("ZEL Monitor");
inline const QString kCompanyName = QStringLiteral("Orvane");
inline const QString kMainTitle = QStringLiteral("ZEL Monitor V3.6");
inline const QString kVersionText = QStringLiteral("Version 3.6 Build 03/20/2024");
inline const QString kManualFile = QStringLiteral("zelmon34.pdf");
inline const QString kCopyright =
    QStringLiteral("Copyright \u00A9 Orvane. All rights reserved. This program is protected by "
                   "copyright law; unauthorised copying or distribution is prohibited.");

// The user manual: beside the program in the build tree, in the shared data folder of the
// prefix once installed. The first that exists, else the one beside the program.
QString manualPath(const QString& applicationFolder);

// The platforms this build runs on, for the splash window's platform line.
QString platformText();

}  // namespace zel
