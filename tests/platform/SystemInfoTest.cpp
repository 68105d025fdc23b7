#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

namespace vrk {
namespace {

TEST(SystemInfo, VersionIsTheSystemWithMajorAndMinorRelease) {
  EXPECT_EQ(VersionLine("Linux", "6.1.0-18-amd64"), "Linux v6.1");
  EXPECT_EQ(VersionLine("Linux", "5.15"), "Linux v5.15");
  EXPECT_EQ(VersionLine("Linux", "6"), "Linux v6");
}

TEST(SystemInfo, ProcessorIsTheModelNameOrTheMachineType) {
  EXPECT_EQ(ProcessorLine("processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: Intel(R) Core(TM) i5 CPU\n"
                          "processor\t: 1\nmodel name\t: Intel(R) Core(TM) i5 CPU\n",
                          "x86_64"),
            "Intel(R) Core(TM) i5 CPU");
  EXPECT_EQ(ProcessorLine("processor\t: 0\nCPU implementer\t: 0x41\n", "aarch64"), "aarch64");
}

TEST(SystemInfo, MemoryIsInKWithThousandsSeparators) {
  EXPECT_EQ(MemoryLine("MemTotal:       16303424 kB\nMemFree:         1234 kB\n"), "16,303,424K");
  EXPECT_EQ(MemoryLine("MemTotal: 999 kB\n"), "999K");
  EXPECT_EQ(MemoryLine("MemTotal: 1000 kB\n"), "1,000K");
  EXPECT_EQ(MemoryLine("MemFree: 1000 kB\n"), "");
  EXPECT_EQ(MemoryLine("MemTotal: lots\n"), "");
}

}  // namespace
}  // namespace vrk
