#pragma once

#include "OraError.h"
#include "Package.h"
#include "PgFixture.h"
#include "Query.h"
#include "Session.h"
#include "StoredProc.h"

#include <QStringList>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <memory>

// A session of one console account on the portal copy of this test program, the package
// object of scheme tev, and helpers to read back what a call did. Tests leave their work
// uncommitted; the session rolls it back when it closes.
class SchemaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!PgFixture::instance().available())
            GTEST_SKIP() << PgFixture::instance().skipReason().toStdString();
        session = PgFixture::instance().connect(QStringLiteral("tev_user"));
        pkg = std::make_unique<db::Package>(session.get());
        pkg->setPackageName(QStringLiteral("TEV.TEV_UTILS"));
    }

    // First value of the first row; null when there is no row.
    QVariant one(const QString& sql, const QVariantMap& params = {}) { return one(*session, sql, params); }

    static QVariant one(db::Session& s, const QString& sql, const QVariantMap& params = {})
    {
        db::Query q(&s);
        q.setSql(sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            q.setParam(it.key(), it.value());
        q.open();
        return q.recordCount() ? q.value(0, 0) : QVariant();
    }

    // One column of every row.
    QStringList column(const QString& sql, const QVariantMap& params = {})
    {
        db::Query q(session.get());
        q.setSql(sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            q.setParam(it.key(), it.value());
        q.open();
        QStringList values;
        for (int row = 0; row < q.recordCount(); ++row)
            values << q.value(row, 0).toString();
        return values;
    }

    // The Oracle error number a call fails with; 0 when it succeeds.
    template <typename F>
    static int oraCode(F&& call)
    {
        try {
            call();
        } catch (const db::OraError& e) {
            return e.code();
        }
        return 0;
    }

    // A named stored-procedure call of scheme tev, prepared.
    std::unique_ptr<db::StoredProc> proc(const QString& name, db::Session* on = nullptr)
    {
        auto sp = std::make_unique<db::StoredProc>(on ? on : session.get());
        sp->setStoredProcName(QStringLiteral("TEV.TEV_UTILS.") + name);
        sp->prepare();
        return sp;
    }

    std::unique_ptr<db::Session> session;
    std::unique_ptr<db::Package> pkg;
};
