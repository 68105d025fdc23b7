// Placeholder until the index file engine lands: every call fails cleanly.
#include "support/Support.h"

namespace vrk::lib {
std::int16_t InitIndexes() { return kNdxOk; }
std::int16_t OpenNDX(std::int16_t& handle, const std::string&, std::int16_t) {
  handle = -1;
  return kNdxFailed;
}
std::int16_t CloseNDX(std::int16_t) { return kNdxFailed; }
std::int16_t AddKey(std::int16_t, std::string_view, std::int32_t, std::int32_t) { return kNdxFailed; }
std::int16_t DeleteKey(std::int16_t, std::string_view, std::int32_t) { return kNdxFailed; }
std::int16_t GetFirst(std::int16_t, std::int32_t&) { return kNdxFailed; }
std::int16_t GetNext(std::int16_t, std::int32_t&) { return kNdxFailed; }
std::int16_t GetPrev(std::int16_t, std::int32_t&) { return kNdxFailed; }
std::int16_t GetKey(std::int16_t, std::string_view, std::int32_t&) { return kNdxFailed; }
}  // namespace vrk::lib
