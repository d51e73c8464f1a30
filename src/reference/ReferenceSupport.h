#pragma once

#include <QString>
#include <functional>

class QComboBox;

namespace db {
class Dataset;
class Session;
} // namespace db

namespace reference {

// Runs portal calls as one transaction: one commit when all succeed; on the first failure
// everything they did is rolled back and the error passes on.
void InOneTransaction(db::Session& session, const std::function<void()>& calls);

// A calculated column with the portal text of `source` decoded from its "\u" escapes.
void AddDecodedField(db::Dataset* dataset, const QString& name, const QString& source, int width = 0);

// Fills a combo box with the portal's web languages (names in the interface language), each
// carrying its id, and selects the portal's current language. Returns that language's id (0 when
// the portal names none).
int FillWebLanguageCombo(QComboBox* combo, db::Session& session, const QString& shema, int interfaceLangId);

} // namespace reference
