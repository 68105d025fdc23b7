// The desktop tests run the real windows in one QApplication, on Qt's offscreen platform, in a home
// folder of their own.
#include <gtest/gtest.h>

#include <QApplication>

#include "fakes/TestHome.h"

int main(int argc, char** argv) {
  // On a 1366 x 768 screen, the smallest the windows are made for.
  if (const QByteArray platform = qgetenv("QT_QPA_PLATFORM"); platform.isEmpty() || platform == "offscreen") {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" VRK_TEST_SCREEN);
  }
  const vrk::test::TestHome home;
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
