// The window tests run on Qt's offscreen platform inside one application object.
#include <gtest/gtest.h>

#include <QtGlobal>

#include "app/tv_application.h"

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    tv::TvApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
