// The controller's real-time clock registers and what a sync writes into them.
#pragma once

#include <QDateTime>
#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>

namespace zel {

// Holds the field writes while 1 and applies them together when set back to 0; only controllers
// of kClockLatchModel have it.
inline constexpr int32_t kClockLatchRegister = 13013;
inline constexpr int32_t kClockLatchModel = 5;
// Seconds, minutes, hours, day of month, month, two-digit year, day of week, in that order.
inline constexpr int32_t kClockFirstRegister = 13014;
inline constexpr int kClockFields = 7;

using ClockValues = std::array<int32_t, kClockFields>;

// The values a sync writes, in register order. The day of week is the PC's, 1 = Sunday ..
// 7 = Saturday, the encoding the controller counts on from.
ClockValues clockSyncValues(const QDateTime& now);

// The PC's date and time as lblSysClock shows it: the locale's short date, then hh:mm:ss.
QString generalDateText(const QDateTime& now);

// The clock window opens 1000 twips right of and below the main window's top-left corner.
QPoint clockWindowPosition(const QPoint& mainTopLeft, double dpi);

}  // namespace zel
