// The main of every test program but the desktop one: the tests run under the user's locale, as the
// programs do (vrkcli calls setlocale itself, and so does Qt in vrk), in a home folder of their own.
#include <gtest/gtest.h>

#include <clocale>

#include "TestHome.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  const vrk::test::TestHome home;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
