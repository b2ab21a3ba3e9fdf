#include "settings/main_settings.h"

#include "settings/settings_sections.h"

#include <algorithm>
#include <array>
#include <optional>

namespace zel::settings {
namespace {

enum class Section { Communications, DdeSetup, Files, Main };

// The messages are shown as they are, word for word, including their differences.
struct SectionInfo {
    Section section;
    const char* name;
    const char* closeFailureOnLoad;
    const char* writeFailure;
    const char* closeFailureOnSave;
};

constexpr std::array<SectionInfo, 4> kSections = {{
    {Section::Communications, "Communications", "Cannot CLOSE Communications key in Registry !",
     "Cannot WRITE Conmmunications settings to Registry !",
     "Cannot CLOSE Communication key in Registry !"},
    {Section::DdeSetup, "DDE Setup", "Cannot CLOSE DDE Setup key in Registry !",
     "Cannot WRITE DDE Setup settings to Registry !", "Cannot CLOSE DDE Setup key in Registry !"},
    {Section::Files, "Files", "Cannot CLOSE Files key in Registry !",
     "Cannot WRITE File settings to Registry !", "Cannot CLOSE File key in Registry !"},
    {Section::Main, "Main", "Cannot CLOSE Main key in Registry !",
     "Cannot WRITE Main settings to Registry !", "Cannot CLOSE Main key in Registry !"},
}};

struct NumberValue {
    Section section;
    const char* name;
    std::int32_t MainSettings::*field;
    std::int32_t whenValueMissing;
    std::optional<std::int32_t> whenSectionMissing;  // none: the field keeps its value
};

// Each number with its default when the value is missing and when its whole section is missing.
constexpr std::array<NumberValue, 15> kNumbers = {{
    {Section::Communications, "BAUD Rate", &MainSettings::BaudRate, 19200, 9600},
    {Section::Communications, "COMM Port", &MainSettings::CommType, 3, 3},
    {Section::Communications, "Host", &MainSettings::HostNode, 32767, 999},
    {Section::Communications, "Target", &MainSettings::TargetNode, 1, 0},
    {Section::Communications, "Timeout", &MainSettings::CommTimeout, 300, 250},
    {Section::Communications, "Adapter", &MainSettings::AdapterIndex, 1, std::nullopt},
    {Section::DdeSetup, "Block 50 Address", &MainSettings::DdeBlock50, 0, 0},
    {Section::DdeSetup, "Flag", &MainSettings::DdeActive, 0, 0},
    {Section::DdeSetup, "Flag Address", &MainSettings::DdeFlagAddress, 1, 1},
    {Section::DdeSetup, "Register Address", &MainSettings::DdeRegAddress, 1, 1},
    {Section::DdeSetup, "Update", &MainSettings::UpdateInterval, 25, 1000},
    {Section::Main, "Top", &MainSettings::Top, 1008, 1008},
    {Section::Main, "Left", &MainSettings::Left, 1236, 2036},
    {Section::Main, "Height", &MainSettings::Height, 8000, 8000},
    {Section::Main, "Width", &MainSettings::Width, 11000, 11000},
}};

// Texts are empty by default, whether the value or the whole section is missing.
struct TextValue {
    Section section;
    const char* name;
    QString MainSettings::*field;
};

constexpr std::array<TextValue, 5> kTexts = {{
    {Section::Communications, "IP Address", &MainSettings::ControllerHost},
    {Section::Files, "Custom Screen 1", &MainSettings::Custom1File},
    {Section::Files, "Custom Screen 2", &MainSettings::Custom2File},
    {Section::Files, "Data Table", &MainSettings::DataTableFile},
    {Section::Files, "Symbol Table", &MainSettings::SymbolFileName},
}};

constexpr char kSupport7400[] = "7400 Support";
constexpr WindowPlacement kMinimizedOrMaximized{1008, 1236, 8000, 10000};

QString pathOf(const SectionInfo& info) {
    return sectionPath(QLatin1String(info.name));
}

void readSection(SettingsStore& store, const SectionInfo& info, bool symbolNamed,
                 MainSettings& values, QStringList& messages) {
    SettingsHandle handle = 0;
    const bool open = store.OpenSettingsKey(pathOf(info), handle);
    for (const NumberValue& number : kNumbers) {
        if (number.section != info.section) continue;
        if (open) {
            values.*number.field = number.whenValueMissing;
            store.QueryNumberValue(handle, QLatin1String(number.name), values.*number.field);
        } else if (number.whenSectionMissing) {
            values.*number.field = *number.whenSectionMissing;
        }
    }
    for (const TextValue& text : kTexts) {
        if (text.section != info.section) continue;
        // A symbol file named on the command line wins over the stored one, but a missing
        // section clears it as well.
        if (!open) {
            (values.*text.field).clear();
        } else if (!(text.field == &MainSettings::SymbolFileName && symbolNamed)) {
            (values.*text.field).clear();
            store.QueryTextValue(handle, QLatin1String(text.name), values.*text.field);
        }
    }
    if (info.section == Section::Main && open) {
        std::int32_t support = 0;
        values.Support7400 =
            store.QueryNumberValue(handle, QLatin1String(kSupport7400), support) && support == 1;
    }
    if (open && !store.CloseSettingsKey(handle)) messages << QLatin1String(info.closeFailureOnLoad);
}

void writeSection(SettingsStore& store, const SectionInfo& info, const MainSettings& values,
                  QStringList& messages) {
    SettingsHandle handle = 0;
    if (!store.OpenSettingsKey(pathOf(info), handle)) {
        messages << QLatin1String(info.writeFailure);
        return;
    }
    for (const NumberValue& number : kNumbers) {
        if (number.section == info.section)
            store.SetNumberValue(handle, QLatin1String(number.name), values.*number.field);
    }
    for (const TextValue& text : kTexts) {
        if (text.section == info.section)
            store.SetTextValue(handle, QLatin1String(text.name), values.*text.field);
    }
    // Only a true value is written: a stored 1 stays until the section is edited by hand.
    if (info.section == Section::Main && values.Support7400) {
        store.SetNumberValue(handle, QLatin1String(kSupport7400), 1);
    }
    if (!store.CloseSettingsKey(handle)) messages << QLatin1String(info.closeFailureOnSave);
}

}  // namespace

MainSettings loadMainSettings(SettingsStore& store, const QString& commandLineSymbolFile,
                              QStringList& messages) {
    MainSettings values;
    values.SymbolFileName = commandLineSymbolFile;
    for (const SectionInfo& info : kSections) {
        readSection(store, info, !commandLineSymbolFile.isEmpty(), values, messages);
    }
    if (values.CommTimeout == 0) values.CommTimeout = 350;
    values.UpdateInterval = std::max(values.UpdateInterval, 10);
    return values;
}

void saveMainSettings(SettingsStore& store, const MainSettings& values, DisplayState windowState,
                      QStringList& messages) {
    MainSettings stored = values;
    if (windowState != DisplayState::Normal) {
        stored.Top = kMinimizedOrMaximized.Top;
        stored.Left = kMinimizedOrMaximized.Left;
        stored.Height = kMinimizedOrMaximized.Height;
        stored.Width = kMinimizedOrMaximized.Width;
    }
    for (const SectionInfo& info : kSections) writeSection(store, info, stored, messages);
}

void addMainSectionDefaults(SettingsData& data) {
    const MainSettings untouched;
    for (const NumberValue& number : kNumbers) {
        const auto info =
            std::find_if(kSections.begin(), kSections.end(),
                         [&](const SectionInfo& s) { return s.section == number.section; });
        data[pathOf(*info)][QLatin1String(number.name)] =
            number.whenSectionMissing.value_or(untouched.*number.field);
    }
}

}  // namespace zel::settings
