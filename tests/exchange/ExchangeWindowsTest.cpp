#include "Catalogue.h"
#include "ConnectionFile.h"
#include "CryptConfig.h"
#include "DBGrid.h"
#include "ExchangeTestApp.h"
#include "InMemoryServiceManager.h"
#include "IniFile.h"
#include "LostConnection.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordingPresenter.h"
#include "ScriptedModalRunner.h"
#include "Session.h"
#include "TSvcControler.h"
#include "TSvcThreadControler.h"
#include "TdmMain.h"
#include "TfmConfig.h"
#include "TfrmCryptDataSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using ExchangeFolders::Field;

// Also answers the file and folder choosers.
class Chooser : public ScriptedModalRunner
{
public:
    QString existingDirectory(QWidget*, const QString& caption, const QString&) override
    {
        captions << caption;
        return folder;
    }
    QString openFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        captions << caption;
        return file;
    }
    QString saveFileName(QWidget*, const QString& caption, const QString&, const QString&) override
    {
        captions << caption;
        return file;
    }
    QString folder;
    QString file;
    QStringList captions;
};

// A data module signed in to the fixture's portal as the administrator, in a private application
// folder, with the two services in folders of their own.
class ExchangeWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        REQUIRE_PG();
        exchangeTestApp();
        qputenv("TEV_APP_DIR", mDir.path().toLocal8Bit());
        QFile ini(mDir.filePath(QStringLiteral("DEDAdize.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[CONNECTION]\r\nserver=TEVTEST\r\nuser=tev_user\r\n[SCHEMES]\r\nTEV=1\r\n");
        ini.close();
        dm = std::make_unique<TdmMain>();
        dm->session()->setServer(PgFixture::serviceName());
        dm->session()->setUsername(QStringLiteral("tev_user"));
        dm->session()->setPassword(QStringLiteral("tev_user"));
        dm->session()->connectAttempt();
        dm->BindToSession();
        QDir(mDir.path()).mkpath(QStringLiteral("in"));
        QDir(mDir.path()).mkpath(QStringLiteral("out"));
        inProgram = mDir.filePath(QStringLiteral("in/tev-web-in"));
        outProgram = mDir.filePath(QStringLiteral("out/tev-web-out"));
        services.install(QString::fromLatin1(TfmConfig::kImportService), inProgram);
        services.install(QString::fromLatin1(TfmConfig::kExportService), outProgram);
        mPrevious = setServiceManager(&services);
    }
    void TearDown() override
    {
        TSvcThreadControler::WaitForIdle();
        if (mPrevious || dm)
            setServiceManager(mPrevious);
        dm.reset();
        qunsetenv("TEV_APP_DIR");
    }
    ExchangeParams params() const
    {
        return ExchangeParams::Read([](const QString&) { return QString(); }, PgFixture::serviceName(),
                                    QStringLiteral("TEV"), 0);
    }
    std::unique_ptr<TfmConfig> window(int kind)
    {
        auto w = std::make_unique<TfmConfig>(nullptr, *dm, kind, params(), [this](const ExchangeParams& p) {
            writes << services.requests().size();
            p.Write([this](const QString& k, const QString& v) { dm->SetConfigValue(k, v); });
        });
        w->ensureCreated();
        w->show();
        QCoreApplication::processEvents();
        return w;
    }
    QString committed(const QString& key)
    {
        return PgFixture::instance().adminQuery(
            QStringLiteral("SELECT param_val FROM tev.tev_configs WHERE param_name = '%1'").arg(key));
    }

    QTemporaryDir mDir;
    std::unique_ptr<TdmMain> dm;
    InMemoryServiceManager services;
    IServiceManager* mPrevious = nullptr;
    QString inProgram, outProgram;
    QList<qsizetype> writes; // requests the services had seen at each write of the parameters
};

// The decrypted texts of the oracle for hexadecimal cipher texts.
QStringList oracleDecrypt(const QString& phrase, const QStringList& hex)
{
    QJsonArray cases;
    for (const QString& h : hex)
        cases.append(
            QJsonObject{{"phrase", phrase}, {"text", ""}, {"base64", false}, {"hex", true}, {"ours", h}});
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(TEV_SOURCE_DIR "/tests/crypto/rc2_oracle.py")});
    python.write(QJsonDocument(cases).toJson());
    python.closeWriteChannel();
    python.waitForFinished(30000);
    QStringList out;
    for (const QJsonValue& v : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
        out << v.toObject().value("decrypted").toString();
    return out;
}

TEST_F(ExchangeWindowTest, PagesAndGroupsFollowTheKindOfExchange)
{
    struct Case
    {
        int kind;
        QStringList pages;
        bool importParts, exportParts;
    };
    const Case cases[] = {
        {1, {"Общие настройки", "Импорт", "Эл. почта", "Службы", "Безопасность"}, true, false},
        {2, {"Общие настройки", "Экспорт", "Эл. почта", "Службы", "Безопасность"}, false, true},
        {3, {"Общие настройки", "Импорт", "Экспорт", "Эл. почта", "Службы", "Безопасность"}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        auto w = window(c.kind);
        EXPECT_EQ(w->windowTitle(), "Настройки обмена");
        EXPECT_EQ(w->PageTitles(), c.pages);
        EXPECT_EQ(!w->findChild<QGroupBox*>("gbPOP3")->isHidden(), c.importParts);
        EXPECT_EQ(!w->findChild<QGroupBox*>("gbServiceIn")->isHidden(), c.importParts);
        EXPECT_EQ(!w->folderEdit(Field::ImportLog)->isHidden(), c.importParts);
        EXPECT_EQ(!w->findChild<QGroupBox*>("gbSMTP")->isHidden(), c.exportParts);
        EXPECT_EQ(!w->findChild<QGroupBox*>("gbServiceOut")->isHidden(), c.exportParts);
        EXPECT_EQ(!w->folderEdit(Field::ExportLog)->isHidden(), c.exportParts);
        EXPECT_EQ(w->findChild<QLineEdit*>("edtShemaWeb")->text(), "TEV");
        EXPECT_GT(w->oqEmitents()->recordCount(), 0);
    }
}

TEST_F(ExchangeWindowTest, DependentFields)
{
    auto w = window(3);
    // Shown unticked with mail off, the separate thread keeps its stored value until unticked.
    EXPECT_TRUE(w->Params().CheckEmailThreadSeparate);
    auto box = [&](const char* name) { return w->findChild<QCheckBox*>(name); };
    box("cbPop3Enable")->setChecked(true);
    box("cbCheckEmailThreadSeparate")->setChecked(true);
    box("cbPop3Enable")->setChecked(false);
    EXPECT_FALSE(box("cbCheckEmailThreadSeparate")->isChecked());
    EXPECT_FALSE(box("cbCheckEmailThreadSeparate")->isEnabled());
    box("cbGenerateLogin")->setChecked(false);
    box("cbGenerateLoginForFirm")->setChecked(false);
    EXPECT_FALSE(box("cbCheckTrnExists")->isEnabled());
    EXPECT_FALSE(box("cbPasswordIsLogin")->isEnabled());
    box("cbGenerateLogin")->setChecked(true);
    EXPECT_TRUE(box("cbCheckTrnExists")->isEnabled());
    EXPECT_FALSE(box("cbPasswordIsLogin")->isEnabled()); // the basis is the e-mail address
    w->findChild<QAbstractButton*>("rbLoginCardNumber")->setChecked(true);
    EXPECT_TRUE(box("cbPasswordIsLogin")->isEnabled());
    box("cbSMTPUseAuthentication")->setChecked(false);
    EXPECT_FALSE(w->findChild<QLineEdit*>("edtSMTPLogin")->isEnabled());
}

TEST_F(ExchangeWindowTest, FolderChoiceIsCheckedAndDefaultsComeFromTheProgramFolders)
{
    auto w = window(3);
    Chooser chooser;
    RecordingPresenter presenter;
    const QString sharing = mDir.filePath("in/Sharing");
    QDir().mkpath(sharing);
    w->folderEdit(Field::Sharing)->setText(sharing);
    chooser.folder = sharing;
    w->chooseButton(Field::ImportWork)->click();
    ASSERT_EQ(presenter.count(), 1) << shownTexts(presenter.requests());
    EXPECT_EQ(presenter.last().text, "Каталог обмена не может совпадать с рабочим каталогом");
    EXPECT_EQ(w->folderEdit(Field::ImportWork)->text(), "Import");

    chooser.folder = mDir.filePath("missing");
    w->chooseButton(Field::ImportWork)->click();
    EXPECT_EQ(presenter.count(), 2);
    EXPECT_EQ(w->folderEdit(Field::ImportWork)->text(), "Import");

    chooser.folder = mDir.filePath("in");
    w->chooseButton(Field::ImportWork)->click();
    EXPECT_EQ(w->folderEdit(Field::ImportWork)->text(), mDir.filePath("in"));
    EXPECT_EQ(chooser.captions.last(), "Выбор каталога");

    w->defaultButton(Field::ImportWork)->click();
    EXPECT_EQ(w->folderEdit(Field::ImportWork)->text(), mDir.filePath("in/Import"));
    EXPECT_TRUE(QFileInfo(mDir.filePath("in/Import")).isDir());
    w->defaultButton(Field::ExportLog)->click();
    EXPECT_EQ(w->folderEdit(Field::ExportLog)->text(), mDir.filePath("out"));
}

TEST_F(ExchangeWindowTest, SaveWritesTheParametersBeforeRestartingRunningServices)
{
    services.setState(QString::fromLatin1(TfmConfig::kExportService), ServiceState::Running);
    auto w = window(3);
    w->findChild<QLineEdit*>("edtSMTPServer")->setText("smtp.example.org");
    w->findChild<QCheckBox*>("cbSMTPSsl")->setChecked(true);
    w->btnSave()->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    ASSERT_TRUE(TSvcThreadControler::WaitForIdle(20000));
    EXPECT_EQ(writes, QList<qsizetype>{0});
    EXPECT_EQ(services.requests(),
              (QStringList{"stop srvTEVWebOutSrvc.service", "start srvTEVWebOutSrvc.service"}));
    EXPECT_EQ(committed("SMTPServer"), "smtp.example.org");
    EXPECT_EQ(committed("SMTPSsl"), "1");
    EXPECT_EQ(committed("IntervalWebInSrvc"), "300");
}

TEST_F(ExchangeWindowTest, ConnectionFilesEndToEnd)
{
    // A file the services already have: its other keys stay.
    const QString inFile = mDir.filePath("in/Connection.ini");
    {
        QFile f(inFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "[CONNECTION_WEB]\r\nServer=OLD\r\nRetries=7\r\n[SERVICE]\r\nName=Import of the web portal\r\n");
    }
    QFile::setPermissions(inFile, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    auto w = window(3);
    w->folderEdit(Field::ImportLog)->setText("/var/log/tev-in");
    w->folderEdit(Field::ExportLog)->setText("/var/log/tev-out");
    w->findChild<QCheckBox*>("cbWebExtendedLogs")->setChecked(true);
    RecordingPresenter presenter;
    w->action("actGenerateConnectionFile")->trigger();

    ASSERT_EQ(presenter.count(), 1) << "no services run: no question before";
    const QString outFile = mDir.filePath("out/Connection.ini");
    EXPECT_EQ(presenter.last().text, "Сформирован файл подключения к БД:\n" + inFile + "\n" + outFile);
    EXPECT_EQ(committed("WebExtendedLogs"), "1");

    lang::IniFile in(inFile), out(outFile);
    const QString user = in.readString("CONNECTION_WEB", "UserName");
    const QString password = in.readString("CONNECTION_WEB", "Password");
    EXPECT_EQ(out.readString("CONNECTION_WEB", "UserName"), user);
    EXPECT_EQ(out.readString("CONNECTION_WEB", "Password"), password);
    EXPECT_EQ(in.readString("CONNECTION_WEB", "Server"), "TEVTEST");
    EXPECT_EQ(in.readString("CONNECTION_WEB", "Scheme"), "TEV");
    EXPECT_EQ(in.readString("CONNECTION_WEB", "OraHome"), "0");
    EXPECT_EQ(in.readString("LOG", "LogInPath"), "/var/log/tev-in");
    EXPECT_FALSE(in.valueExists("LOG", "LogOutPath"));
    EXPECT_FALSE(out.valueExists("LOG", "LogInPath"));
    EXPECT_EQ(out.readString("LOG", "LogOutPath"), "/var/log/tev-out");
    EXPECT_EQ(out.readString("LOG", "ExtendedLog"), "1");
    EXPECT_EQ(in.readString("CONNECTION_WEB", "Retries"), "7");
    EXPECT_EQ(in.readString("SERVICE", "Name"), "Import of the web portal");
    // The new file is the owner's alone; the existing one keeps its mode.
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(outFile) & others, QFile::Permissions());
    EXPECT_EQ(QFile::permissions(inFile) & others, QFile::ReadGroup);

    const QStringList plain = oracleDecrypt(crypto::CryptConfig::connectionPassPhrase(), {user, password});
    ASSERT_EQ(plain.size(), 2);
    EXPECT_EQ(plain[0], "TEVWEBEXPORTLOGIN");
    EXPECT_EQ(plain[1].size(), 10);
    // The database folds the unquoted account name, as Oracle does the other way.
    auto session = PgFixture::instance().connect(plain[0].toLower(), plain[1]);
    ASSERT_TRUE(session && session->connected());
    EXPECT_EQ(PgFixture::instance().adminQuery("SELECT 1 FROM pg_roles WHERE rolname = 'tevwebexportlogin'"),
              "1");
    PgFixture::instance().adminQuery("ALTER ROLE tevwebexportlogin PASSWORD 'tevwebexportlogin'");
}

TEST_F(ExchangeWindowTest, GenerationAsksWhenServicesRunAndNeedsAScheme)
{
    services.setState(QString::fromLatin1(TfmConfig::kImportService), ServiceState::Running);
    auto w = window(1);
    RecordingPresenter presenter({lang::mrNo});
    w->action("actGenerateConnectionFile")->trigger();
    ASSERT_EQ(presenter.count(), 1) << shownTexts(presenter.requests());
    EXPECT_EQ(presenter.last().text,
              "После генерации нового конфигурационного файла произойдет перезапуск служб "
              "обмена. Продолжить?");
    EXPECT_TRUE(writes.isEmpty());
    EXPECT_FALSE(QFile::exists(mDir.filePath("in/Connection.ini")));

    w->findChild<QLineEdit*>("edtShemaWeb")->setText("  ");
    presenter.answer(lang::mrYes);
    w->action("actGenerateConnectionFile")->trigger();
    EXPECT_EQ(presenter.last().text, "Не указана схема подключения");
    EXPECT_TRUE(writes.isEmpty());
    EXPECT_FALSE(QFile::exists(mDir.filePath("in/Connection.ini")));
}

TEST_F(ExchangeWindowTest, SecurityListOpensTheKeyDialogAndComesBackToItsRow)
{
    auto w = window(3);
    db::Query* list = w->oqEmitents();
    ASSERT_GE(list->recordCount(), 2);
    EXPECT_TRUE(list->fieldByName("EMITENT_LABEL").displayLabel() == "Эмитент");
    EXPECT_TRUE(list->asString("EMITENT_LABEL").startsWith('['));
    list->setRecNo(2);
    const int id = int(list->asInteger("EMITENT_ID_WEB"));
    ScriptedModalRunner runner;
    int shownFor = -1;
    runner.answer = answerDialog<TfrmCryptDataSettings>([&](TfrmCryptDataSettings& d) {
        shownFor = id;
        EXPECT_EQ(d.windowTitle(), "Шифрование данных");
        d.cbUseImportCrypt()->setChecked(true);
        d.cbUseExportCrypt()->setChecked(false);
        d.btnSave()->click();
        return d.result();
    });
    w->action("actEditEmitentSecurity")->trigger();
    EXPECT_EQ(shownFor, id);
    EXPECT_EQ(list->recNo(), 2);
    EXPECT_EQ(list->asInteger("USE_IMPORT_CRYPT"), 1);
    EXPECT_EQ(list->asInteger("USE_EXPORT_CRYPT"), 0);
}

// The key dialog on its own, with a key store of its own.
class CryptDialogTest : public ::testing::Test
{
protected:
    void SetUp() override { exchangeTestApp(); }
    std::unique_ptr<TfrmCryptDataSettings> dialog(int kind, bool in, bool out, const QString& key = {})
    {
        TfrmCryptDataSettings::Storage storage;
        storage.StoreExportKey = [this](int id, const QString& data) {
            stored << QString("key %1 %2").arg(id).arg(data);
        };
        storage.StoreCrypt = [this](int id, int i, int o) {
            stored << QString("crypt %1 %2 %3").arg(id).arg(i).arg(o);
        };
        auto d =
            std::make_unique<TfrmCryptDataSettings>(nullptr, kind, 7, in, out, key, storage, mStore.path());
        d->ensureCreated();
        d->updateActionsNow();
        return d;
    }
    QTemporaryDir mStore;
    QTemporaryDir mFiles;
    QStringList stored;
};

TEST_F(CryptDialogTest, GroupsByKind)
{
    for (auto [kind, in, out] :
         {std::tuple{1, true, false}, std::tuple{2, false, true}, std::tuple{3, true, true}}) {
        auto d = dialog(kind, true, true);
        EXPECT_EQ(!d->gbImport()->isHidden(), in) << kind;
        EXPECT_EQ(!d->gbExport()->isHidden(), out) << kind;
    }
    // Asking whether the key exists creates no container.
    EXPECT_TRUE(QDir(mStore.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(CryptDialogTest, GenerateAndExportTheWebKey)
{
    EXPECT_FALSE(dialog(1, true, false)->KeyExists());
    EXPECT_FALSE(dialog(1, true, false)->action("actExportKey")->isEnabled());

    // A damaged key: the export fails, says why, and no file is asked for or written.
    {
        QFile damaged(QDir(mStore.path()).filePath("TEV_WEB_7.pem"));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("not a key");
    }
    auto d = dialog(1, true, false);
    EXPECT_TRUE(d->action("actGenerateNewKey")->isEnabled());
    ASSERT_TRUE(d->action("actExportKey")->isEnabled());
    Chooser chooser;
    chooser.file = mFiles.filePath("web7.key");
    RecordingPresenter presenter;
    d->action("actExportKey")->trigger();
    ASSERT_EQ(presenter.count(), 1) << shownTexts(presenter.requests());
    EXPECT_FALSE(presenter.last().text.isEmpty());
    EXPECT_TRUE(chooser.captions.isEmpty());
    EXPECT_FALSE(QFile::exists(chooser.file));

    d->action("actGenerateNewKey")->trigger();
    EXPECT_EQ(chooser.captions, QStringList{"Выберите файл для сохранения ключа"});
    QFile blob(chooser.file);
    ASSERT_TRUE(blob.open(QIODevice::ReadOnly));
    const QByteArray generated = blob.readAll();
    EXPECT_EQ(generated.size(), 84);
    EXPECT_TRUE(generated.startsWith(QByteArray::fromHex("0602000000A40000525341310002000001000100")));
    blob.close();
    EXPECT_TRUE(d->KeyExists());
    d->updateActionsNow();
    EXPECT_TRUE(d->action("actExportKey")->isEnabled());

    chooser.file = mFiles.filePath("again.key");
    d->action("actExportKey")->trigger();
    QFile again(chooser.file);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), generated);
    // A dialog opened later knows the key.
    EXPECT_TRUE(dialog(1, true, false)->KeyExists());
    EXPECT_EQ(TfrmCryptDataSettings::ContainerName(7), "TEV_WEB_7");
}

TEST_F(CryptDialogTest, ImportTheCentresKeyAndTheSaveGuard)
{
    auto d = dialog(2, false, true);
    EXPECT_EQ(d->edtKeyState()->text(), "ключ не импортирован");
    RecordingPresenter presenter;
    d->btnSave()->click();
    ASSERT_EQ(presenter.count(), 1) << shownTexts(presenter.requests());
    EXPECT_EQ(presenter.last().text, "Необходимо импортировать ключ для шифрования данных");
    EXPECT_TRUE(stored.isEmpty());

    Chooser chooser;
    chooser.file = mFiles.filePath("empty.key");
    QFile(chooser.file).open(QIODevice::WriteOnly);
    d->action("actImportKey")->trigger();
    EXPECT_EQ(presenter.count(), 2); // an empty file is refused
    EXPECT_TRUE(stored.isEmpty());

    chooser.file = mFiles.filePath("centre.key");
    {
        QFile f(chooser.file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromHex("0602ff10"));
    }
    d->action("actImportKey")->trigger();
    EXPECT_EQ(chooser.captions.last(), "Выберите файл с данными ключа");
    EXPECT_EQ(stored, QStringList{"key 7 0602FF10"});
    EXPECT_EQ(d->edtKeyState()->text(), "ключ импортирован");
    d->btnSave()->click();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(stored.last(), "crypt 7 0 1");
}

TEST_F(CryptDialogTest, CancelStoresNothing)
{
    auto d = dialog(3, true, false, "0602");
    EXPECT_EQ(d->edtKeyState()->text(), "ключ импортирован");
    d->cbUseExportCrypt()->setChecked(true);
    d->btnCancel()->click();
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(stored.isEmpty());
}

} // namespace

namespace {

// A lost connection: Save and the connection files say so with the catalogue's text, write
// nothing, restart no service and keep the window open; after re-registration Save works.
TEST_F(ExchangeWindowTest, LostConnectionIsNamedAndSaveWorksAfterReRegistration)
{
    services.setState(QString::fromLatin1(TfmConfig::kExportService), ServiceState::Running);
    const QString before = committed("SMTPServer");
    auto w = window(3);
    w->findChild<QLineEdit*>("edtSMTPServer")->setText("lost.example.org");
    RecordingPresenter presenter;
    endConnection(*dm->session());
    userAction([&] { w->btnSaveClick(); });
    userAction([&] { w->actGenerateConnectionFileExecute(); });
    // The connection files first ask about the running service.
    ASSERT_EQ(presenter.count(), 3) << shownTexts(presenter.requests());
    EXPECT_EQ(presenter.requests()[0].text, lang::tr(u"rstrNotConnectByLan"));
    EXPECT_EQ(presenter.requests()[1].text, lang::tr(u"vrstrGenerateConfigFileWarning"));
    EXPECT_EQ(presenter.requests()[2].text, lang::tr(u"rstrNotConnectByLan"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_NE(w->result(), QDialog::Accepted);
    EXPECT_TRUE(services.requests().isEmpty());
    EXPECT_EQ(committed("SMTPServer"), before);
    EXPECT_FALSE(QFile::exists(mDir.filePath("in/Connection.ini")));

    dm->session()->connectAttempt(); // re-registration with the same password
    w->btnSaveClick();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    ASSERT_TRUE(TSvcThreadControler::WaitForIdle(20000));
    EXPECT_EQ(committed("SMTPServer"), "lost.example.org");
    EXPECT_EQ(presenter.count(), 3);
}

} // namespace
