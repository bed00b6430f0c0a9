// SPDX-License-Identifier: GPL-3.0-or-later
// The host tests run inside one application object, on the offscreen platform
// unless told otherwise. The best-score store is pointed at a place nobody can
// write: the host must carry on regardless, and no player's best score is touched.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", "/proc/grimspire-nowhere");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
