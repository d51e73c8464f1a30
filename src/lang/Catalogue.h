#pragma once

#include <QString>
#include <QStringView>
#include <QVariantList>

namespace lang {

// The current texts of the message catalogue, shared by the whole process. Until the translator
// fills them, every entry holds its default.

// Current text of an entry (the first entry of a key that has two unless occurrence = 1); keys are
// compared without regard to letter case. An unknown key is a programming error: it asserts and
// returns the key itself.
QString catalogueText(QStringView key, int occurrence = 0);
// Shorthand used all over the console: lang::tr("rstrYes")
inline QString tr(QStringView key)
{
    return catalogueText(key);
}
void setCatalogueText(int index, const QString& text);
QString catalogueDefault(int index);
QString catalogueKey(int index);
int catalogueSize();
// Index of an entry in catalogue order, or -1 for an unknown key.
int catalogueIndex(QStringView key, int occurrence = 0);

// Delphi-style Format: %s, %d, %u, %x, %f, %e, %g, %n and %% with [index:][-][width][.precision], the
// arguments taken in order. A placeholder without an argument stays in the text as written.
QString format(const QString& pattern, const QVariantList& args);

} // namespace lang
