// The security code: a number of up to three digits in VANTLOCK.SET in the program directory, asked
// for at start-up. Codes 0 to 250 refuse a wrong answer access, 251 to 500 let the program run in the
// read-only state, 501 and above are not asked for.
#pragma once

#include <string>

#include "catalog/CatalogStore.h"
#include "platform/Paths.h"

namespace vrk {

inline constexpr short kNoSecurityCode = 501;  // and anything above: no code is asked for

// Bytes 84 and 85 of VANTLOCK.SET. The 40-character text and the 16-bit value before them (bytes 42 to
// 83) are never rewritten: a new code changes the code's two bytes and nothing else of the file. A
// missing or short file holds no code.
struct SecuritySettings {
  short code = kNoSecurityCode;
};

// False, after a message, when the file is there but cannot be read; the settings then hold no code.
bool ReadSecurityCode(CatalogStore& store, SecuritySettings& settings);
// Writes the code's two bytes, creating the file when it is missing; every other byte stays as it is
// (a short file gets zeros up to the code).
bool WriteSecurityCode(CatalogStore& store, const SecuritySettings& settings);

enum class SecurityCheck {
  kPassed,    // no code set, or the right answer
  kReadOnly,  // a wrong answer (or Cancel) for a code of 251 to 500
  kDenied,    // a wrong answer (or Cancel) for a code of 0 to 250: "ACCESS DENIED!!!" has been shown
};
// The start-up's question "Please Enter Password" when a code is set.
SecurityCheck CheckSecurityCode(CatalogStore& store);

// Utilities > Set Security Code: "Enter 3-Digit Number"; an empty answer ("Invalid Code") or Cancel
// leaves the code as it is. The new code is written at once and asked for from the next start.
void SetSecurityCode(CatalogStore& store);
// The code `typed` (1 to 3 digits) written to VANTLOCK.SET; false after a message.
bool StoreSecurityCode(CatalogStore& store, const std::string& typed);

}  // namespace vrk
