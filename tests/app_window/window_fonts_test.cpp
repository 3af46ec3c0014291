// The window's font choice: the first family of the platform's list that is
// installed, else the last one for Qt to substitute.
#include "app/window_fonts.h"

#include <gtest/gtest.h>

#include <QFontDatabase>

namespace tv::testing {
namespace {

TEST(WindowFontsTest, FirstInstalledFamilyWinsElseTheLast) {
    ASSERT_FALSE(QFontDatabase::families().isEmpty());
    const QString installed = QFontDatabase::families().first();
    const QString missing = QStringLiteral("No Such Family tv-1");
    const QString alsoMissing = QStringLiteral("No Such Family tv-2");
    const struct {
        QStringList families;
        QString chosen;
    } cases[] = {
        {{missing, installed}, installed},
        {{installed, missing}, installed},
        {{missing, alsoMissing}, alsoMissing},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(firstInstalledFamily(c.families), c.chosen)
            << c.families.join(", ").toStdString();
    }
}

}  // namespace
}  // namespace tv::testing
