// libFuzzer: any bytes as an index file, opened, walked both ways, searched, counted and changed as the
// program does. A damaged file is refused or read: never a crash, a hang or a huge allocation.
#include "FuzzFiles.h"
#include "support/IndexFile.h"

namespace lib = vrk::lib;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = vrk::fuzz::WriteInput("FUZZX00.WDX", data, size);
  lib::Indexes indexes;
  std::int16_t handle = 0;
  if (lib::OpenNDX(indexes, handle, path, lib::kNdxOpen) != lib::kNdxOk) return 0;
  std::int32_t entry = 0;
  std::uint64_t count = 0;
  (void)lib::CountKeys(indexes, handle, count);
  for (int i = 0; i < 2000 && lib::GetNext(indexes, handle, entry) == lib::kNdxOk; ++i) {
  }
  for (int i = 0; i < 2000 && lib::GetPrev(indexes, handle, entry) == lib::kNdxOk; ++i) {
  }
  (void)lib::GetKey(indexes, handle, "M", entry);
  (void)lib::PositionedAtKey(indexes, handle, "M");
  if (lib::BeginChanges(indexes, handle) == lib::kNdxOk) {
    (void)lib::AddKey(indexes, handle, "FUZZ", 7, 0);
    (void)lib::DeleteKey(indexes, handle, "M", entry);
    (void)lib::GetFirst(indexes, handle, entry);
  }
  (void)lib::CloseNDX(indexes, handle);
  return 0;
}
