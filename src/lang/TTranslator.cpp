#include "TTranslator.h"

#include "AppFolder.h"
#include "Catalogue.h"

#include <QDir>
#include <QFileInfo>

namespace lang {

TTranslator::TTranslator() = default;
TTranslator::~TTranslator() = default;

TTranslator& TTranslator::instance()
{
    static TTranslator translator;
    return translator;
}

void TTranslator::FindLanguages(const QString& prefix)
{
    mLanguages.clear();
    // Names as the original's file search matches them: letter case ignored, hidden files included.
    // Sorted by name, the order the original's file system lists them in.
    QDir dir(applicationFolder());
    const QStringList names =
        dir.entryList({prefix + QStringLiteral("_*.ini")}, QDir::Files | QDir::Hidden | QDir::System,
                      QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const IniFile ini(dir.filePath(name));
        if (!ini.sectionExists(QStringLiteral("TITLE")))
            continue;
        TLangRecord record;
        record.fileName = name;
        record.languageName = ini.readString(QStringLiteral("TITLE"), QStringLiteral("rstrLangName"));
        record.languageId = ini.readInteger(QStringLiteral("TITLE"), QStringLiteral("rstrLangId"), 0);
        mLanguages.append(record);
    }
}

void TTranslator::SetLanguage(int languageId)
{
    QString chosen;
    for (const TLangRecord& record : mLanguages) {
        if (record.languageId == languageId)
            chosen = record.fileName;
    }
    const QString path = applicationFile(chosen);
    if (!chosen.isEmpty() && QFileInfo(path).isFile()) {
        mFile = std::make_unique<IniFile>(path);
        mUseDefaults = false;
    } else {
        mUseDefaults = true;
    }
    ApplyCatalogue();
}

QString TTranslator::GetWord(const QString& key, const QString& defaultText) const
{
    if (mUseDefaults || !mFile)
        return defaultText;
    return mFile->readString(QStringLiteral("WORDS"), key, defaultText);
}

void TTranslator::ApplyCatalogue()
{
    const int n = catalogueSize();
    for (int i = 0; i < n; ++i)
        setCatalogueText(i, GetWord(catalogueKey(i), catalogueDefault(i)));
}

QString TTranslator::languageFile() const
{
    return mUseDefaults || !mFile ? QString() : mFile->path();
}

} // namespace lang
