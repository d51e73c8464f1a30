#pragma once

#include "PgFixture.h"
#include "PortalModule.h"
#include "Session.h"
#include "TdmMain.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

// The widget application of the test program (WidgetTestApp.cpp).
inline QApplication& weblangTestApp()
{
    return *qobject_cast<QApplication*>(QCoreApplication::instance());
}

using SignedInModule = PortalModule;

// The portal's current web language as committed (seen by another connection).
inline QString committedWebLanguage()
{
    return PgFixture::instance().adminQuery(
        QStringLiteral("SELECT param_val FROM tev.tev_configs WHERE param_name = 'LANG_ID'"));
}

inline void resetWebLanguage()
{
    PgFixture::instance().adminQuery(
        QStringLiteral("UPDATE tev.tev_configs SET param_val = '25' WHERE param_name = 'LANG_ID'"));
}
