#pragma once
// The font families the window's look is laid out for, by platform: the
// proportional face of the captions and fields, and the fixed-pitch face of
// Memo3 and the hexadecimal result fields.
#include <QString>
#include <QStringList>

namespace tv {

struct WindowFontFamilies {
    QString proportional;
    QString fixedPitch;
};

// Families listed in order of preference; the first one installed wins, else
// the last one (Qt then substitutes a similar face).
QString firstInstalledFamily(const QStringList& families);

// The families for this platform, as firstInstalledFamily() chooses them.
WindowFontFamilies windowFontFamilies();

}  // namespace tv
