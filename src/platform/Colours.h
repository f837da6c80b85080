#pragma once

#include <QColor>

// The colours that tell the kinds of record apart, the same in every window: green
// for consultants, yellow for clients, cyan for projects.
namespace talveros::platform::colours {

inline const QColor kGreen(0, 255, 0);
inline const QColor kYellow(255, 255, 0);
inline const QColor kCyan(0, 255, 255);
inline const QColor kLightGreen(128, 255, 128);
inline const QColor kLightYellow(255, 255, 128);
inline const QColor kPaleGreen(192, 255, 192);
inline const QColor kPaleYellow(255, 255, 192);
inline const QColor kPaleCyan(192, 255, 255);
inline const QColor kPaleRed(255, 192, 192);

} // namespace talveros::platform::colours
