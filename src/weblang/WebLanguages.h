#pragma once

#include <QList>
#include <QString>

namespace db {
class Session;
}

// The portal's own languages, independent of the console's interface language. The language
// ids are the same numbers in both worlds (25 Russian, 9 English, 8 Greek).

// One portal language as the web-language menu shows it.
struct WebLanguage
{
    int id = 0;
    QString name;         // in the interface language, decoded from the portal's "\u" escapes
    bool current = false; // the portal's current language (setting LANG_ID)
};

// Phrase types of v_tev_phrases: which kind of reference object a phrase names.
enum PhraseType
{
    ptTerm = 1,
    ptServiceScheme = 2,
    ptTransactionGroup = 3,
    ptFeedbackType = 4
};

// The text of the web-language list query (lines joined by CR LF, unexpanded macros).
QString WebLanguagesSql();

// Every portal language in the order the portal lists them, names translated into the
// interface language `interfaceLangId`. The session must be connected.
QList<WebLanguage> ReadWebLanguages(db::Session& session, const QString& shema, int interfaceLangId);

// Makes `langId` the portal's current web language in a transaction of its own. On an error the
// transaction is rolled back and the error passes on to the caller.
void ChangeCurrentWebLanguage(db::Session& session, const QString& shema, int langId);

// A portal text translated into a language by the portal's dictionary (trans_text), decoded; the
// text itself when the dictionary has no translation.
QString TransText(db::Session& session, const QString& shema, const QString& text, int langId);
