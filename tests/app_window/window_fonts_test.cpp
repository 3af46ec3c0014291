// The window's font choice: the first family of the platform's list that is
// installed, else the last one for Qt to substitute.
#include "app/window_fonts.h"

#include <gtest/gtest.h>

#include <QFontDatabase>

namespace tv::testing {
namespace {

TEST(WindowFontsTest, FirstInstalledFamilyWinsElseTheLast) {
    if (QFontDatabase::families().isEmpty()) {
        // Qt's offscreen platform on Windows (as under Wine) lists no fonts.
        GTEST_SKIP() << "the platform reports no installed font family to choose";
    }
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
