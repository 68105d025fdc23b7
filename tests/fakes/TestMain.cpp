// The main of every test program but the desktop one: the tests run under the user's locale, as the
// programs do (vrkcli calls setlocale itself, and so does Qt in vrk).
#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
