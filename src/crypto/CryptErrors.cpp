#include "CryptErrors.h"

namespace crypto {

namespace {

struct NamedCode
{
    std::uint32_t code;
    const char* name;
};

constexpr NamedCode kNames[] = {
    {error::kInvalidHandle, "ERROR_INVALID_HANDLE"},
    {error::kNotEnoughMemory, "ERROR_NOT_ENOUGH_MEMORY"},
    {error::kInvalidParameter, "ERROR_INVALID_PARAMETER"},
    {error::kCallNotImplemented, "ERROR_CALL_NOT_IMPLEMENTED"},
    {error::kBusy, "ERROR_BUSY"},
    {error::kMoreData, "ERROR_MORE_DATA"},
    {error::kNoMoreItems, "ERROR_NO_MORE_ITEMS"},
    {error::kBadUid, "NTE_BAD_UID"},
    {error::kBadHash, "NTE_BAD_HASH"},
    {error::kBadKey, "NTE_BAD_KEY"},
    {error::kBadLen, "NTE_BAD_LEN"},
    {error::kBadData, "NTE_BAD_DATA"},
    {error::kBadSignature, "NTE_BAD_SIGNATURE"},
    {error::kBadAlgId, "NTE_BAD_ALGID"},
    {error::kBadFlags, "NTE_BAD_FLAGS"},
    {error::kBadType, "NTE_BAD_TYPE"},
    {error::kBadHashState, "NTE_BAD_HASH_STATE"},
    {error::kNoKey, "NTE_NO_KEY"},
    {error::kNoMemory, "NTE_NO_MEMORY"},
    {error::kExists, "NTE_EXISTS"},
    {error::kDoubleEncrypt, "NTE_DOUBLE_ENCRYPT"},
    {error::kBadProvType, "NTE_BAD_PROV_TYPE"},
    {error::kBadPublicKey, "NTE_BAD_PUBLIC_KEY"},
    {error::kBadKeyset, "NTE_BAD_KEYSET"},
    {error::kProvTypeNotDef, "NTE_PROV_TYPE_NOT_DEF"},
    {error::kProvTypeEntryBad, "NTE_PROV_TYPE_ENTRY_BAD"},
    {error::kKeysetNotDef, "NTE_KEYSET_NOT_DEF"},
    {error::kKeysetEntryBad, "NTE_KEYSET_ENTRY_BAD"},
    {error::kProvTypeNoMatch, "NTE_PROV_TYPE_NO_MATCH"},
    {error::kSignatureFileBad, "NTE_SIGNATURE_FILE_BAD"},
    {error::kProviderDllFail, "NTE_PROVIDER_DLL_FAIL"},
    {error::kProvDllNotFound, "NTE_PROV_DLL_NOT_FOUND"},
    {error::kBadKeysetParam, "NTE_BAD_KEYSET_PARAM"},
    {error::kFail, "NTE_FAIL"},
};

} // namespace

QString cryptErrorName(std::uint32_t code)
{
    for (const NamedCode& n : kNames) {
        if (n.code == code)
            return QString::fromLatin1(n.name);
    }
    return QStringLiteral("unknown error");
}

} // namespace crypto
