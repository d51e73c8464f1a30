// Cipher texts from INI files and key files: the Base64 and hexadecimal readers take any text,
// bytes survive their text forms, and decrypting any text in every form fails cleanly or gives a
// text that encrypts back to a text that decrypts to it again.

#include "FuzzSupport.h"
#include "TEnDeCrypt.h"
#include "TextForms.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = fuzz::utf8(data, size);
    const QByteArray raw = fuzz::bytes(data, size);

    bool ok = false;
    const QByteArray fromBase64 = crypto::Base64ToBin(text, &ok);
    if (ok)
        FUZZ_CHECK(crypto::Base64ToBin(crypto::BinToBase64(fromBase64)) == fromBase64);
    else
        FUZZ_CHECK(fromBase64.isEmpty());
    const QByteArray fromHex = crypto::HexToBin(text, &ok);
    if (ok)
        FUZZ_CHECK(crypto::HexToBin(crypto::BinToHex(fromHex)) == fromHex);
    else
        FUZZ_CHECK(fromHex.isEmpty());
    FUZZ_CHECK(crypto::Base64ToBin(crypto::BinToBase64(raw), &ok) == raw && ok);
    FUZZ_CHECK(crypto::HexToBin(crypto::BinToHex(raw), &ok) == raw && ok);

    crypto::TEnDeCrypt cipher(fuzz::scratchFolder());
    cipher.SetPassPhrase(QStringLiteral("fuzz pass phrase"));
    for (int form = 0; form < 4; ++form) {
        const bool base64 = form & 1, hex = form & 2;
        const QString plain = cipher.DecryptText(text, base64, hex);
        // Byte 0x98 has no character in code page 1251: such a text cannot be encrypted again.
        if (plain.isEmpty() || plain.contains(QChar(0xFFFD)))
            continue;
        const QString again = cipher.EncryptText(plain, base64, hex);
        FUZZ_CHECK(!again.isEmpty());
        FUZZ_CHECK(cipher.DecryptText(again, base64, hex) == plain);
    }
    return 0;
}
