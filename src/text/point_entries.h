#pragma once

#include <QString>

// The texts of the point lists' entries and the counts at which a file needs its extended
// form. Capture makes these entries, the overlay and export read them, the writers copy
// them, and reading a source back expects them.
namespace entries {

inline const QString lwmPoint = QStringLiteral("LWMPoint ");
inline const QString vtpPoint = QStringLiteral("VTPWidePoint ");
inline const QString vtpWidth = QStringLiteral("VTPWidePointWidth ");

// An LWM polygon holds up to 62 points in its short form; from 63 on it needs the extended
// line. A VTP block holds up to 31 points; the 32nd starts the extra part.
inline constexpr int lwmShortFormPoints = 62;
inline constexpr int vtpBlockPoints = 31;

} // namespace entries
