
#include "app/window_fonts.h"

namespace tv {

// The Japanese system fonts of Windows; a system without them (or Wine) gets
// the IPA Gothic pair when it is installed.
WindowFontFamilies windowFontFamilies() {
    return {firstInstalledFamily({QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic")}),
            firstInstalledFamily({QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic")})};
}

}  // namespace tv
