#include "settings/field_escape.h"
#include "settings/settings_format.h"
#include "settings/settings_format_tokens.h"

namespace zel::settings {

QByteArray writeSettings(const SettingsData& data) {
    QByteArray out;
    out.append(kFormatLine).append('\n');
    out.append("# Written by ZEL Monitor; edit only while the monitor is not running.\n");
    for (const auto& [path, section] : data) {
        out.append('\n').append('[').append(escapeField(path)).append("]\n");
        for (const auto& [name, value] : section) {
            out.append(escapeField(name)).append('=');
            if (const auto* number = std::get_if<std::int32_t>(&value)) {
                out.append(QByteArray::number(*number));
            } else {
                out.append('"').append(escapeField(std::get<QString>(value))).append('"');
            }
            out.append('\n');
        }
    }
    out.append('\n').append(kEndLine).append('\n');
    return out;
}

}  // namespace zel::settings
