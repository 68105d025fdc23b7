// libFuzzer: any bytes as an index file, opened, walked both ways, searched, counted and changed as the
// program does. A damaged file is refused or read: never a crash, a hang or a huge allocation.
#include "FuzzFiles.h"
#include "support/IndexFile.h"

namespace lib = vrk::lib;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = vrk::fuzz::WriteInput("FUZZX00.WDX", data, size);
  std::int16_t handle = 0;
  if (lib::OpenNDX(handle, path, lib::kNdxOpen) != lib::kNdxOk) return 0;
  std::int32_t entry = 0;
  std::uint64_t count = 0;
  (void)lib::CountKeys(handle, count);
  for (int i = 0; i < 2000 && lib::GetNext(handle, entry) == lib::kNdxOk; ++i) {
  }
  for (int i = 0; i < 2000 && lib::GetPrev(handle, entry) == lib::kNdxOk; ++i) {
  }
  (void)lib::GetKey(handle, "M", entry);
  (void)lib::PositionedAtKey(handle, "M");
  if (lib::BeginChanges(handle) == lib::kNdxOk) {
    (void)lib::AddKey(handle, "FUZZ", 7, 0);
    (void)lib::DeleteKey(handle, "M", entry);
    (void)lib::GetFirst(handle, entry);
  }
  (void)lib::CloseNDX(handle);
  return 0;
}
