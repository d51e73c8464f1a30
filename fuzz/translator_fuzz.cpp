// Language files copied from other machines: any bytes as DEDAdize_*.ini are listed, chosen and
// read into the catalogue, and every catalogue text formats with arguments without a crash.

#include "Catalogue.h"
#include "FuzzSupport.h"
#include "TTranslator.h"

#include <QFile>
#include <QVariantList>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("TEV_APP_DIR", QFile::encodeName(fuzz::scratchFolder()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::scratchFolder() + QStringLiteral("/DEDAdize_fuzz.ini");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(fuzz::bytes(data, size)) == qsizetype(size));
    }
    lang::TTranslator& translator = lang::TTranslator::instance();
    translator.FindLanguages(QStringLiteral("DEDAdize"));
    FUZZ_CHECK(translator.languages().size() <= 1);
    const int id = translator.languages().isEmpty() ? 25 : translator.languages().first().languageId;
    translator.SetLanguage(id);
    const QVariantList args = {42, QStringLiteral("text"), 2.5, -7, QStringLiteral("x")};
    for (int i = 0; i < lang::catalogueSize(); ++i)
        (void)lang::format(lang::catalogueText(lang::catalogueKey(i)), args);
    translator.SetLanguage(-1); // back to the defaults for the next input
    return 0;
}
