#include "app/window_fonts.h"

namespace tv {

// Debian's IPA Gothic pair (package fonts-ipafont-gothic); fontconfig finds a
// similar face where it is missing.
WindowFontFamilies windowFontFamilies() {
    return {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
}

}  // namespace tv
