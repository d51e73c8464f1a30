#pragma once

#include "Session.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh copy of the portal template database for one test program, reachable through the
// service "TEVTEST" of a service file of its own.
class PgFixture
{
public:
    static PgFixture& instance();

    bool available() const { return mReady; }
    QString skipReason() const { return mReason; }
    QString database() const { return mDatabase; }
    QString host() const { return mHost; }
    int port() const { return mPort; }
    static QString serviceName() { return QStringLiteral("TEVTEST"); }

    // A session of the given account on the fixture's database, connected.
    std::unique_ptr<db::Session> connect(const QString& user = QStringLiteral("tev_user"),
                                         const QString& password = QString());
    // Runs SQL as the cluster's superuser on the fixture's database; returns the first value.
    QString adminQuery(const QString& sql);

    ~PgFixture();

private:
    PgFixture();
    QString adminConninfo(const QString& database) const;

    bool mReady = false;
    QString mReason;
    QString mHost;
    int mPort = 0;
    QString mAdminUser;
    QString mAdminPassword;
    QString mDatabase;
    QTemporaryDir mDir;
};

// Skips the current test when no PostgreSQL harness is running.
#define REQUIRE_PG()                                                                                       \
    do {                                                                                                   \
        if (!PgFixture::instance().available())                                                            \
            GTEST_SKIP() << PgFixture::instance().skipReason().toStdString();                              \
    } while (0)
