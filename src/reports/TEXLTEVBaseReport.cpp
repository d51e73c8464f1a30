#include "TEXLTEVBaseReport.h"

#include "Catalogue.h"
#include "Clock.h"
#include "DbHelpers.h"
#include "Package.h"
#include "Query.h"
#include "ReportRules.h"
#include "StoredProc.h"

#include <stdexcept>

namespace {

const QStringList kBeginParams = {QStringLiteral("PDATEOFSTART"), QStringLiteral("P_DATE_OF_START")};
const QStringList kEndParams = {QStringLiteral("PDATEOFEND"), QStringLiteral("P_DATE_OF_END")};

} // namespace

TEXLTEVBaseReport::TEXLTEVBaseReport(QObject* owner, const QString& shema, db::Session* session)
    : QObject(owner), mSession(session), mShema(shema), mEngine(std::make_unique<xlsx::TEXLReport>())
{
    mEngine->setTemplateFile(reports::reportTemplatePath());
    mPackage = new db::Package(this);
    mPackage->setObjectName(QStringLiteral("TEV_UTILS"));
}

TEXLTEVBaseReport::~TEXLTEVBaseReport() = default;

void TEXLTEVBaseReport::setTemplateFile(const QString& path)
{
    if (mEngine)
        mEngine->setTemplateFile(path);
}

QString TEXLTEVBaseReport::SetSchemaName(const QString& name, const QString& shema)
{
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot < 0)
        throw std::runtime_error(
            QStringLiteral("TEXLTEVBaseReport.SetSchemaName: Symbol \".\" is not found in \"%1\"")
                .arg(name)
                .toStdString());
    return shema + name.mid(dot);
}

void TEXLTEVBaseReport::bindComponents()
{
    for (QObject* child : children()) {
        if (auto* proc = qobject_cast<db::StoredProc*>(child)) {
            proc->setSession(mSession);
            proc->setStoredProcName(SetSchemaName(proc->storedProcName(), mShema));
        } else if (auto* query = qobject_cast<db::Query*>(child)) {
            query->setSession(mSession);
            fSetShemaForComponent(query, mShema);
        } else if (auto* package = qobject_cast<db::Package*>(child)) {
            package->setSession(mSession);
            package->setPackageName(mShema + QStringLiteral(".TEV_UTILS"));
        }
    }
}

void TEXLTEVBaseReport::setValue(const QString& name, const QString& value)
{
    mEngine->setValue(name, value);
}

QString TEXLTEVBaseReport::emitentName()
{
    const QVariant name =
        mPackage->execFunc(QStringLiteral("GET_EMITENT_VALUE"), {QStringLiteral("EMT_NAME")});
    return QLatin1Char('"') + name.toString() + QLatin1Char('"');
}

void TEXLTEVBaseReport::prepare()
{
    setOwnValues();
    setValue(QStringLiteral("Caption"), mCaption);
    setValue(QStringLiteral("Period"),
             lang::format(lang::tr(u"rstrFormatPeriod"),
                          {reports::reportMomentText(mBegin), reports::reportMomentText(mEnd)}));
    setValue(QStringLiteral("EmitentName"), emitentName());
    setValue(QStringLiteral("Executer"), lang::tr(u"rstrExecuter") + QStringLiteral(": "));
    setValue(QStringLiteral("DateTime"),
             lang::tr(u"rstrDateTime") + QStringLiteral(": ") + reports::reportMomentText(framework::now()));

    mRows = std::make_unique<DatasetReportTable>(rowColumns());
    mEngine->setTable(mRows.get());

    if (db::StoredProc* proc = defaultStoredProc()) {
        try {
            proc->prepare();
        } catch (const std::exception& e) {
            // The cause goes with it: without it the administrator cannot tell what is missing.
            throw std::runtime_error(std::string("DefaultStoredProc not assigned in TEXLTEVBaseReport: ") +
                                     e.what());
        }
        for (const QString& name : kBeginParams)
            if (db::Param* p = proc->params().find(name))
                p->setValue(mBegin);
        for (const QString& name : kEndParams)
            if (db::Param* p = proc->params().find(name))
                p->setValue(mEnd);
    }
}

void TEXLTEVBaseReport::fill()
{
    if (db::StoredProc* proc = defaultStoredProc()) {
        proc->close();
        proc->open();
    }
}

db::Dataset* TEXLTEVBaseReport::rowSource() const
{
    return defaultStoredProc();
}

bool TEXLTEVBaseReport::build()
{
    if (!mEngine)
        throw std::runtime_error("EXLReport not assigned in TEXLTEVBaseReport");
    prepare();
    fill();
    mRows->setDataset(rowSource());
    mNoData = mRows->rowCount() == 0;
    if (mNoData)
        return false;
    if (mOutputFile.isEmpty())
        mOutputFile = reports::newReportPath(reports::reportsFolder(), mCaption, framework::now());
    mEngine->build(mOutputFile);
    return true;
}
