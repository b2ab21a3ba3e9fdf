// Where the program's settings sections live and which ones it uses.
#pragma once

#include <QString>

#include <array>

namespace zel::settings {

inline constexpr char kSectionRoot[] = "Software\\Orvane\\ZEL Monitor\\";

// Every section the program uses. A first run creates them all, so the first unload of each
// window can store its values (the store itself never creates a section).
inline constexpr std::array<const char*, 18> kProgramSections = {
    "Communications", "DDE Setup", "Files",   "Main",    "Registers", "NVram",
    "Flags",          "Digin",     "Digout",  "Analin",  "Analout",   "Servo",
    "Status",         "Dtable",    "Custom1", "Custom2", "Trend",     "Traffic",
};

// The full path of a section: "Software\Orvane\ZEL Monitor\" followed by its name.
QString sectionPath(const QString& name);

}  // namespace zel::settings
