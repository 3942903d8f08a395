// Drives the real kansu under a private Xvfb, only as a person would: mouse clicks at the
// controls' places and typing (xdotool), the window's close message, and screenshots.
#include "x_display.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kansu::e2e::XDisplay display;
    if (!display.running()) {
        std::fprintf(stderr, "could not start Xvfb\n");
        return 1;
    }
    qputenv("DISPLAY", display.name().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
