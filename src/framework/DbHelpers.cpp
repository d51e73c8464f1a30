#include "DbHelpers.h"

#include "CheckValueRules.h"
#include "Component.h"
#include "Dataset.h"
#include "DbError.h"
#include "OraError.h"
#include "Package.h"
#include "Query.h"
#include "Script.h"
#include "Session.h"
#include "StoredProc.h"

#include <QObject>
#include <stdexcept>

namespace {

// Rethrows the current exception with the component's name in front, keeping its kind (an Oracle
// error keeps its number).
[[noreturn]] void rethrowForComponent(const QObject* component)
{
    const QString prefix = component->objectName() + QLatin1String(": ");
    try {
        throw;
    } catch (const db::OraError& e) {
        db::OraError prefixed(e);
        prefixed.setMessage(prefix + e.message());
        throw prefixed;
    } catch (const db::DbError& e) {
        throw db::DbError(prefix.toStdString() + e.what());
    } catch (const std::exception& e) {
        throw std::runtime_error(prefix.toStdString() + e.what());
    }
}

void renameStoredProc(db::StoredProc& proc, const QString& shema)
{
    QString name = proc.storedProcName();
    fSetShemaName(name, shema);
    // The same name would only cost another round trip to the catalogue.
    if (name == proc.storedProcName())
        return;
    // Values set before binding (at creation) must survive the new parameter list.
    const db::ParamList saved = proc.params();
    proc.setStoredProcName(name);
    proc.prepare();
    for (int i = 0; i < saved.count(); ++i)
        if (db::Param* p = proc.params().find(saved.at(i).name()))
            p->setValue(saved.at(i).value());
}

} // namespace

void fSetShema(QObject* owner, const QString& shema)
{
    const QString scheme = shema.trimmed();
    if (scheme.isEmpty())
        throw std::runtime_error("uOraFunctions.fSetShema: \r\nSchema is not define");
    if (!owner)
        return;
    // A copy: binding must not be disturbed by children created or deleted on the way.
    const QObjectList children = owner->children();
    for (QObject* child : children) {
        try {
            fSetShemaForComponent(child, scheme);
        } catch (...) {
            rethrowForComponent(child);
        }
    }
}

void fSetShemaName(QString& name, const QString& shema)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        throw std::runtime_error(
            (QStringLiteral("uOraFunctions.fSetShemaName: Symbol \".\" is not found in \"") + name +
             QLatin1Char('"'))
                .toStdString());
    name = shema.trimmed() + name.mid(dot);
}

void fSetShemaForComponent(QObject* component, const QString& shema)
{
    if (!component || db::componentTag(component) != 0)
        return;
    const QString scheme = shema.trimmed();
    if (auto* query = qobject_cast<db::Query*>(component)) {
        query->macroByName(QStringLiteral("Shema")).setValue(scheme);
    } else if (auto* package = qobject_cast<db::Package*>(component)) {
        QString name = package->packageName();
        fSetShemaName(name, scheme);
        package->setPackageName(name);
    } else if (auto* proc = qobject_cast<db::StoredProc*>(component)) {
        renameStoredProc(*proc, scheme);
    }
}

void fSetSession(QObject* owner, db::Session* session)
{
    if (!owner)
        return;
    const QObjectList children = owner->children();
    for (QObject* child : children) {
        if (auto* query = qobject_cast<db::Query*>(child))
            query->setSession(session);
        else if (auto* proc = qobject_cast<db::StoredProc*>(child))
            proc->setSession(session);
        else if (auto* package = qobject_cast<db::Package*>(child))
            package->setSession(session);
        else if (auto* script = qobject_cast<db::Script*>(child))
            script->setSession(session);
    }
}

bool GetCheckFldValue(const db::Dataset& dataset, const db::Field* field)
{
    if (!field)
        throw std::logic_error("TBaseForm.GetCheckFldValue: pFld=nil");
    return gridtools::isCheckedValue(field->dataType(), dataset.value(field->name()));
}

bool GetCheckFldValue(const db::Dataset& dataset, int row, const db::Field* field)
{
    if (!field)
        throw std::logic_error("TBaseForm.GetCheckFldValue: pFld=nil");
    if (row < 0 || row >= dataset.recordCount())
        return false;
    return gridtools::isCheckedValue(field->dataType(), dataset.value(row, field->index()));
}

void SetCheckFldValue(db::Dataset& dataset, const db::Field* field, bool value)
{
    if (!field)
        throw std::logic_error("TBaseForm.SetCheckFldValue: pFld=nil");
    // A floating-point field is read the way GetCheckFldValue reads it, so that marking a value
    // such as 0.6 really leaves it marked.
    if (gridtools::isCheckedValue(field->dataType(), dataset.value(field->name())) == value)
        return;
    const QVariant stored = gridtools::checkValueFor(field->dataType(), value);
    if (!stored.isValid())
        return;
    if (dataset.isEditing()) {
        dataset.setValue(field->name(), stored);
        return;
    }
    dataset.edit();
    dataset.setValue(field->name(), stored);
    dataset.post();
}

QString QuoteSqlText(const QString& text)
{
    const QChar marker(1);
    QString quoted = text;
    quoted.replace(QLatin1String("''"), marker);
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    quoted.replace(marker, QLatin1String("''"));
    return quoted;
}

QString LocaleText(const QString& russian, const QString& english, const QLocale& locale)
{
    switch (locale.language()) {
    case QLocale::Russian:
    case QLocale::Ukrainian:
    case QLocale::Belarusian:
        return russian;
    default:
        return english.isEmpty() ? russian : english;
    }
}

QString LocaleText(const QString& russian, const QString& english)
{
    return LocaleText(russian, english, QLocale::system());
}
