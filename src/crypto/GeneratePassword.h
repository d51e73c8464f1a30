#pragma once

#include <QString>

namespace crypto {

inline constexpr char kPasswordLowerCase[] = "abcdefghijklmnopqrstuvwxyz";
inline constexpr char kPasswordCapitals[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr char kPasswordDigits[] = "1234567890";
inline constexpr char kPasswordSymbols[] = "!@#$%^&*()_+=-|\\/?.,<>{}[]:;";

// A random password of `length` characters (none for length <= 0). Each character: one of the four
// alphabets with equal chance, drawn again while it is a forbidden one (lower case is always
// allowed), then one of its characters with equal chance. Drawn from the system's secure source.
QString GeneratePassword(int length, bool capitals, bool digits, bool symbols);

} // namespace crypto
