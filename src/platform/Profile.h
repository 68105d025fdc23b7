// INI profile files (VRK.INI) with the semantics users of such files expect: sections and keys match
// without regard to letter case, a missing file or section is created on the first write, and every
// other line of the file is kept as it was.
#pragma once

#include <string>
#include <string_view>

namespace vrk {

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::string& iniPath);
// The value's leading digits (with an optional sign); 0 when the value has none, the default when
// the key is missing.
int GetPrivateProfileInt(std::string_view section, std::string_view key, int defaultValue, const std::string& iniPath);
// False when the file could not be written.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::string& iniPath);

}  // namespace vrk
