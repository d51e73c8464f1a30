#pragma once

#include "IniFile.h"

#include <QList>
#include <QString>
#include <memory>

namespace lang {

// One language file found next to the program.
struct TLangRecord
{
    QString fileName;     // without folder, as found on disk
    QString languageName; // TITLE/rstrLangName, shown in the interface-language menu
    int languageId = 0;   // TITLE/rstrLangId: the Windows primary language id (25 is Russian)
};

using TLangList = QList<TLangRecord>;

// Fills the message catalogue from a language file DEDAdize_*.ini of the application folder, or from
// the defaults. One instance for the whole process.
class TTranslator
{
public:
    TTranslator();
    ~TTranslator();
    TTranslator(const TTranslator&) = delete;
    TTranslator& operator=(const TTranslator&) = delete;

    static TTranslator& instance();

    // Rebuilds the language list from the files <prefix>_*.ini of the application folder.
    void FindLanguages(const QString& prefix);
    // Opens the file of that language (the last listed one with that id) and refills the catalogue;
    // without such a file every entry takes its default.
    void SetLanguage(int languageId);
    QString GetWord(const QString& key, const QString& defaultText) const;
    void ApplyCatalogue();

    const TLangList& languages() const { return mLanguages; }
    bool useDefaults() const { return mUseDefaults; }
    // The language file consulted, or empty when the defaults are in effect.
    QString languageFile() const;

private:
    bool mUseDefaults = false;
    std::unique_ptr<IniFile> mFile;
    TLangList mLanguages;
};

} // namespace lang
