#pragma once

typedef struct ossl_lib_ctx_st OSSL_LIB_CTX;

namespace crypto {

// A library context of our own with the default and the legacy provider (RC2 lives in the legacy one),
// so that neither the system's OpenSSL configuration nor another part of the process changes what we
// get. Loaded once; null when a provider cannot be loaded.
OSSL_LIB_CTX* cryptLibrary();

} // namespace crypto
