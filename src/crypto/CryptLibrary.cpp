#include "CryptLibrary.h"

#include <openssl/crypto.h>
#include <openssl/provider.h>

namespace crypto {

namespace {

struct Library
{
    OSSL_LIB_CTX* context = nullptr;

    Library()
    {
        OSSL_LIB_CTX* ctx = OSSL_LIB_CTX_new();
        if (!ctx)
            return;
        if (!OSSL_PROVIDER_load(ctx, "default") || !OSSL_PROVIDER_load(ctx, "legacy")) {
            OSSL_LIB_CTX_free(ctx);
            return;
        }
        context = ctx;
    }
    // Kept to the end of the process: key objects made in it may outlive any owner we could name.
};

} // namespace

OSSL_LIB_CTX* cryptLibrary()
{
    static const Library library;
    return library.context;
}

} // namespace crypto
