#include "app/window_fonts.h"

#include <QFontDatabase>

namespace tv {

QString firstInstalledFamily(const QStringList& families) {
    for (const QString& family : families) {
        if (QFontDatabase::hasFamily(family)) return family;
    }
    return families.isEmpty() ? QString() : families.last();
}

}  // namespace tv
