// The window tests run on Qt's offscreen platform inside one application object.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/tv_application.h"

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    tv::TvApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
