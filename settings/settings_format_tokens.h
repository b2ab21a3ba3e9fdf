// The fixed lines that open and close a settings file, shared by its reader and writer.
#pragma once

namespace zel::settings {

inline constexpr char kFormatLine[] = "ZEL Monitor settings 1";
inline constexpr char kEndLine[] = "END";

}  // namespace zel::settings
