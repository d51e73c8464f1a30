#include "ReferenceSupport.h"

#include "Dataset.h"
#include "PortalCodec.h"
#include "Session.h"
#include "WebLanguages.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace reference {

void InOneTransaction(db::Session& session, const std::function<void()>& calls)
{
    try {
        calls();
        session.commit();
    } catch (...) {
        session.rollback();
        throw;
    }
}

void AddDecodedField(db::Dataset* dataset, const QString& name, const QString& source, int width)
{
    dataset->addCalculatedField(name, db::DataType::String,
                                [source](const db::Dataset& d, int row) -> QVariant {
                                    const QVariant stored = d.physicalValue(row, d.fieldIndex(source));
                                    if (stored.isNull())
                                        return {};
                                    return DecodeUnicodeEscapes(stored.toString());
                                },
                                0, {source});
    if (width > 0)
        dataset->defineField(name).setDisplayWidth(width);
}

int FillWebLanguageCombo(QComboBox* combo, db::Session& session, const QString& shema, int interfaceLangId)
{
    const QSignalBlocker block(combo);
    combo->clear();
    int current = 0;
    for (const WebLanguage& lang : ReadWebLanguages(session, shema, interfaceLangId)) {
        combo->addItem(lang.name, lang.id);
        if (lang.current) {
            current = lang.id;
            combo->setCurrentIndex(combo->count() - 1);
        }
    }
    return current;
}

} // namespace reference
