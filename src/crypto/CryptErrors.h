#pragma once

#include <QString>
#include <cstdint>

namespace crypto {

// Error codes reported by the cipher and the key store. They keep the Windows SDK values, so that a
// message reads the same as one written by the Windows console.
namespace error {
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kNotEnoughMemory = 8;
inline constexpr std::uint32_t kInvalidParameter = 87;
inline constexpr std::uint32_t kCallNotImplemented = 120;
inline constexpr std::uint32_t kBusy = 170;
inline constexpr std::uint32_t kMoreData = 234;
inline constexpr std::uint32_t kNoMoreItems = 259;

inline constexpr std::uint32_t kBadUid = 0x80090001;
inline constexpr std::uint32_t kBadHash = 0x80090002;
inline constexpr std::uint32_t kBadKey = 0x80090003;
inline constexpr std::uint32_t kBadLen = 0x80090004;
inline constexpr std::uint32_t kBadData = 0x80090005;
inline constexpr std::uint32_t kBadSignature = 0x80090006;
inline constexpr std::uint32_t kBadAlgId = 0x80090008;
inline constexpr std::uint32_t kBadFlags = 0x80090009;
inline constexpr std::uint32_t kBadType = 0x8009000A;
inline constexpr std::uint32_t kBadHashState = 0x8009000C;
inline constexpr std::uint32_t kNoKey = 0x8009000D;
inline constexpr std::uint32_t kNoMemory = 0x8009000E;
inline constexpr std::uint32_t kExists = 0x8009000F;
inline constexpr std::uint32_t kDoubleEncrypt = 0x80090012;
inline constexpr std::uint32_t kBadProvType = 0x80090014;
inline constexpr std::uint32_t kBadPublicKey = 0x80090015;
inline constexpr std::uint32_t kBadKeyset = 0x80090016;
inline constexpr std::uint32_t kProvTypeNotDef = 0x80090017;
inline constexpr std::uint32_t kProvTypeEntryBad = 0x80090018;
inline constexpr std::uint32_t kKeysetNotDef = 0x80090019;
inline constexpr std::uint32_t kKeysetEntryBad = 0x8009001A;
inline constexpr std::uint32_t kProvTypeNoMatch = 0x8009001B;
inline constexpr std::uint32_t kSignatureFileBad = 0x8009001C;
inline constexpr std::uint32_t kProviderDllFail = 0x8009001D;
inline constexpr std::uint32_t kProvDllNotFound = 0x8009001E;
inline constexpr std::uint32_t kBadKeysetParam = 0x8009001F;
inline constexpr std::uint32_t kFail = 0x80090020;
} // namespace error

// The symbolic name of a code, "unknown error" for one not in the list.
QString cryptErrorName(std::uint32_t code);

} // namespace crypto
