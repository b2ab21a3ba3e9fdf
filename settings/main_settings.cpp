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

// Where a stored value lives in the records.
template <auto field>
auto& connection(MainRecords& r) { return r.state.settings.*field; }
template <auto field>
auto& dde(MainRecords& r) { return r.state.dde.*field; }
template <auto field>
auto& files(MainRecords& r) { return r.state.files.*field; }
template <auto field>
auto& window(MainRecords& r) { return r.placement.*field; }
bool& ddeActive(MainRecords& r) { return r.state.flags.DdeActive; }
bool& support7400(MainRecords& r) { return r.state.Support7400; }
QString& supportCode(MainRecords& r) { return r.state.SupportCode; }

struct NumberValue {
    Section section;
    const char* name;
    std::int32_t& (*field)(MainRecords&);
    std::int32_t whenValueMissing;
    std::optional<std::int32_t> whenSectionMissing;  // none: the field keeps its value
};

using CS = ConnectionSettings;
using WP = WindowPlacement;

// Each number with its default when the value is missing and when its whole section is missing.
constexpr std::array<NumberValue, 14> kNumbers = {{
    {Section::Communications, "BAUD Rate", &connection<&CS::BaudRate>, 19200, 9600},
    {Section::Communications, "COMM Port", &connection<&CS::CommType>, 3, 3},
    {Section::Communications, "Host", &connection<&CS::HostNode>, 32767, 999},
    {Section::Communications, "Target", &connection<&CS::TargetNode>, 1, 0},
    {Section::Communications, "Timeout", &connection<&CS::CommTimeout>, 300, 250},
    {Section::Communications, "Adapter", &connection<&CS::AdapterIndex>, 1, std::nullopt},
    {Section::DdeSetup, "Block 50 Address", &dde<&DdeSetup::DdeBlock50>, 0, 0},
    {Section::DdeSetup, "Flag Address", &dde<&DdeSetup::DdeFlagAddress>, 1, 1},
    {Section::DdeSetup, "Register Address", &dde<&DdeSetup::DdeRegAddress>, 1, 1},
    {Section::DdeSetup, "Update", &dde<&DdeSetup::UpdateInterval>, 25, 1000},
    {Section::Main, "Top", &window<&WP::Top>, 1008, 1008},
    {Section::Main, "Left", &window<&WP::Left>, 1236, 2036},
    {Section::Main, "Height", &window<&WP::Height>, 8000, 8000},
    {Section::Main, "Width", &window<&WP::Width>, 11000, 11000},
}};

// Texts are empty by default, whether the value or the whole section is missing.
struct TextValue {
    Section section;
    const char* name;
    QString& (*field)(MainRecords&);
};

constexpr std::array<TextValue, 6> kTexts = {{
    {Section::Communications, "IP Address", &connection<&CS::ControllerHost>},
    {Section::Files, "Custom Screen 1", &files<&FileSettings::CustomScreen1File>},
    {Section::Files, "Custom Screen 2", &files<&FileSettings::CustomScreen2File>},
    {Section::Files, "Data Table", &files<&FileSettings::DataTableFile>},
    {Section::Files, "Symbol Table", &files<&FileSettings::SymbolFileName>},
    {Section::Main, "7400 Support Code", &supportCode},
}};

// Switches stored as numbers. DdeActive is stored as it is, 0 when the value or the section is
// missing; "7400 Support" counts only when it is 1, and only a true value is ever written.
struct SwitchValue {
    Section section;
    const char* name;
    bool& (*field)(MainRecords&);
    bool writtenOnlyWhenTrue;
};

constexpr std::array<SwitchValue, 3> kSwitches = {{
    {Section::Communications, "Reads One By One", &connection<&CS::ReadsOneByOne>, true},
    {Section::DdeSetup, "Flag", &ddeActive, false},
    {Section::Main, "7400 Support", &support7400, true},
}};
constexpr WindowPlacement kMinimizedOrMaximized{1008, 1236, 8000, 10000};

QString pathOf(const SectionInfo& info) {
    return sectionPath(QLatin1String(info.name));
}

void readSection(SettingsStore& store, const SectionInfo& info, bool symbolNamed,
                 MainRecords& records, QStringList& messages) {
    SettingsHandle handle = 0;
    const bool open = store.OpenSettingsKey(pathOf(info), handle);
    for (const NumberValue& number : kNumbers) {
        if (number.section != info.section) continue;
        std::int32_t& field = number.field(records);
        if (open) {
            field = number.whenValueMissing;
            store.QueryNumberValue(handle, QLatin1String(number.name), field);
        } else if (number.whenSectionMissing) {
            field = *number.whenSectionMissing;
        }
    }
    for (const TextValue& text : kTexts) {
        if (text.section != info.section) continue;
        QString& field = text.field(records);
        // A symbol file named on the command line wins over the stored one, but a missing
        // section clears it as well.
        if (!open) {
            field.clear();
        } else if (!(&field == &records.state.files.SymbolFileName && symbolNamed)) {
            field.clear();
            store.QueryTextValue(handle, QLatin1String(text.name), field);
        }
    }
    for (const SwitchValue& flag : kSwitches) {
        if (flag.section != info.section) continue;
        std::int32_t stored = 0;
        const bool read = open && store.QueryNumberValue(handle, QLatin1String(flag.name), stored);
        flag.field(records) = read && (flag.writtenOnlyWhenTrue ? stored == 1 : stored != 0);
    }
    if (open && !store.CloseSettingsKey(handle)) messages << QLatin1String(info.closeFailureOnLoad);
}

void writeSection(SettingsStore& store, const SectionInfo& info, MainRecords& records,
                  QStringList& messages) {
    SettingsHandle handle = 0;
    if (!store.OpenSettingsKey(pathOf(info), handle)) {
        messages << QLatin1String(info.writeFailure);
        return;
    }
    for (const NumberValue& number : kNumbers) {
        if (number.section == info.section)
            store.SetNumberValue(handle, QLatin1String(number.name), number.field(records));
    }
    for (const TextValue& text : kTexts) {
        if (text.section == info.section)
            store.SetTextValue(handle, QLatin1String(text.name), text.field(records));
    }
    for (const SwitchValue& flag : kSwitches) {
        const bool value = flag.field(records);
        if (flag.section == info.section && (value || !flag.writtenOnlyWhenTrue))
            store.SetNumberValue(handle, QLatin1String(flag.name), value ? 1 : 0);
    }
    if (!store.CloseSettingsKey(handle)) messages << QLatin1String(info.closeFailureOnSave);
}

}  // namespace

void loadMainSettings(SettingsStore& store, const QString& commandLineSymbolFile,
                      MainRecords records, QStringList& messages) {
    records.state.files.SymbolFileName = commandLineSymbolFile;
    for (const SectionInfo& info : kSections) {
        readSection(store, info, !commandLineSymbolFile.isEmpty(), records, messages);
    }
    std::int32_t& timeout = records.state.settings.CommTimeout;
    if (timeout == 0) timeout = 350;
    std::int32_t& interval = records.state.dde.UpdateInterval;
    interval = std::max(interval, 10);
}

void saveMainSettings(SettingsStore& store, MainRecords records, DisplayState windowState,
                      QStringList& messages) {
    WindowPlacement fixed = kMinimizedOrMaximized;
    MainRecords stored{records.state, windowState == DisplayState::Normal ? records.placement : fixed};
    for (const SectionInfo& info : kSections) writeSection(store, info, stored, messages);
}

void addMainSectionDefaults(SettingsData& data) {
    AppState untouchedState;
    WindowPlacement untouchedPlacement;
    MainRecords untouched{untouchedState, untouchedPlacement};
    auto section = [&data](Section s) -> auto& {
        const auto info = std::find_if(kSections.begin(), kSections.end(),
                                       [s](const SectionInfo& i) { return i.section == s; });
        return data[pathOf(*info)];
    };
    for (const NumberValue& number : kNumbers) {
        section(number.section)[QLatin1String(number.name)] =
            number.whenSectionMissing.value_or(number.field(untouched));
    }
    for (const SwitchValue& flag : kSwitches) {
        if (!flag.writtenOnlyWhenTrue) section(flag.section)[QLatin1String(flag.name)] = 0;
    }
}

}  // namespace zel::settings
