#include "TdmMain.h"

#include "AppFolder.h"
#include "Catalogue.h"
#include "DbHelpers.h"
#include "IniFile.h"
#include "MessageDialogs.h"
#include "OraError.h"
#include "Package.h"
#include "Query.h"
#include "Session.h"
#include "TTranslator.h"
#include "TfmNormalConnect.h"
#include "TfmRegionConnect.h"

#include <QtGlobal>

TdmMain::TdmMain(QObject* parent)
    : QObject(parent), mSession(new db::Session(this)), mQueries(new SharedQueries(this))
{
    installSessionHooks();
    DataModuleCreate();
}

TdmMain::~TdmMain()
{
    DataModuleDestroy();
}

void TdmMain::RegisterConnectDialogs()
{
    db::Session::registerConnectDialog(QString::fromLatin1(kNormalConnect),
                                       [] { return std::make_unique<TfmNormalConnect>(); });
    db::Session::registerConnectDialog(QString::fromLatin1(kRegionConnect),
                                       [] { return std::make_unique<TfmRegionConnect>(); });
}

TdmMain* TdmMain::ofSession(const db::Session& session)
{
    return qobject_cast<TdmMain*>(session.parent());
}

void TdmMain::DataModuleCreate()
{
    mManagerId = -1;
    mRegisterMode = false;
    mDestroyed = false;
    mIni = std::make_unique<lang::IniFile>(
        lang::applicationFile(QString::fromLatin1(ConnectionSettings::kFileName)));

    ConnectionSettings ini = settings();
    if (!ini.hasLanguageSection()) {
        try {
            ini.setLanguageId(ConnectionSettings::kDefaultLanguageId);
        } catch (const lang::IniError& e) {
            ReportIniError(e);
        }
    }
    mLanguageId = ini.languageId();

    lang::TTranslator& translator = lang::TTranslator::instance();
    translator.FindLanguages(QString::fromLatin1(kLanguageFilePrefix));
    translator.SetLanguage(mLanguageId);

    mActiveScheme = GetActiveScheme();
    mSession->setConnectDialogClass(
        QString::fromLatin1(ini.separateManage() ? kRegionConnect : kNormalConnect));
    BindSignInComponents();
}

void TdmMain::BindSignInComponents()
{
    SharedQueries& q = *mQueries;
    q.oqManager->close();
    q.oqManager->setSession(mSession);
    q.TEV_UTILS->setSession(mSession);
    fSetShemaForComponent(q.oqManager, mActiveScheme);
    fSetShemaForComponent(q.TEV_UTILS, mActiveScheme);
}

void TdmMain::DataModuleDestroy()
{
    if (mDestroyed || !mIni)
        return;
    mDestroyed = true;
    try {
        settings().setLanguageId(mLanguageId);
    } catch (const lang::IniError& e) {
        ReportIniError(e);
    }
    mIni.reset();
}

bool TdmMain::Connect()
{
    try {
        mActiveScheme = GetActiveScheme();
        mSession->disconnect();
        // After a change of scheme the managers come from the new one.
        BindSignInComponents();
        mConnectCaption = lang::format(lang::tr(u"vrstrConByScheme"), {mActiveScheme});
        const ConnectionSettings ini = settings();
        mSession->setServer(ini.server());
        mSession->setUsername(ini.user());
        mSession->setHomeNumber(ini.home());
        mSession->setConnectPrompt(true);
        mSession->connect();
        mSignedInUser = mSession->username().toUpper();
        return mSession->connected();
    } catch (const db::Abort&) {
    } catch (const std::exception& e) {
        qWarning("Sign-in failed: %s", e.what());
    } catch (...) {
        qWarning("Sign-in failed");
    }
    return false;
}

void TdmMain::Disconnect()
{
    mSession->disconnect();
}

QString TdmMain::GetActiveScheme()
{
    const QString flagged = settings().flaggedScheme();
    if (!flagged.isEmpty())
        return flagged;
    const QString scheme = QString::fromLatin1(ConnectionSettings::kDefaultScheme);
    try {
        SetActiveScheme(scheme);
    } catch (const lang::IniError& e) {
        ReportIniError(e);
    }
    return scheme;
}

void TdmMain::SetActiveScheme(const QString& scheme)
{
    settings().setActiveScheme(scheme);
}

void TdmMain::installSessionHooks()
{
    // The schema owner may not sign in; the name is compared as it will be sent.
    mSession->setBeforeConnectHook([this](db::Session& session) {
        const QString user = session.username().trimmed();
        session.setUsername(user);
        if (user.toUpper() == mActiveScheme.trimmed().toUpper()) {
            lang::MessageDlgLang(lang::tr(u"vrstrCannotConnectByOwner"), lang::MsgDlgType::Warning,
                                 lang::mbOK);
            throw db::Abort();
        }
    });
    mSession->setErrorHook([](db::Session&, db::OraError& error) {
        const QString text = ConnectErrorText(error.code());
        if (!text.isNull())
            error.setMessage(text);
    });
    mSession->setConnectionChangeHook([this](db::Session& session, bool connected) {
        if (!connected || !mIni)
            return;
        try {
            ConnectionSettings ini = settings();
            ini.setServer(session.server());
            ini.setUser(session.username());
            ini.setHome(session.homeNumber());
        } catch (const lang::IniError& e) {
            ReportIniError(e);
        }
    });
}

QString TdmMain::ConnectErrorText(int oraCode)
{
    switch (oraCode) {
    case 942:
        return lang::tr(u"rstrUserNotRegister");
    case 1005:
        return lang::tr(u"rstrNotSetPass");
    case 1017:
        return lang::tr(u"rstrIncorrectPassUser");
    case 4043:
        return lang::tr(u"vrstrNoPriveledgesEx");
    case 12154:
        return lang::tr(u"rstrServerNotFound");
    case 3114: // every statement after the connection was lost
    case 12545:
    case 12560:
        return lang::tr(u"rstrNotConnectByLan");
    case 28000:
        return lang::tr(u"rstrUserBlocked");
    default:
        return {};
    }
}

QString TdmMain::SignInErrorText(int oraCode)
{
    if (oraCode == 4043)
        return lang::tr(u"rstrPrivilage");
    const QString text = ConnectErrorText(oraCode);
    if (!text.isNull())
        return text;
    return lang::tr(u"vrstrConnectionError") + QLatin1Char(' ') + QString::number(oraCode);
}

void TdmMain::ReportIniError(const lang::IniError& error)
{
    lang::ShowMsgBox(nullptr,
                     LocaleText(QStringLiteral("Не удалось сохранить настройки программы."),
                                QStringLiteral("The program's settings could not be saved.")) +
                         QLatin1Char('\n') + QString::fromUtf8(error.what()),
                     1);
}
