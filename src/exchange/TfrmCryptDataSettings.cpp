#include "TfrmCryptDataSettings.h"

#include "Catalogue.h"
#include "CryptConfig.h"
#include "DbHelpers.h"
#include "KeyStore.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"
#include "TEnDeCrypt.h"
#include "TextForms.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The window's actions: name, caption key, handler.
struct CryptAction
{
    const char* name;
    const char16_t* caption;
    void (TfrmCryptDataSettings::*handler)();
};

} // namespace

QString TfrmCryptDataSettings::ContainerName(int emitentId)
{
    return QStringLiteral("TEV_WEB_") + QString::number(emitentId);
}

TfrmCryptDataSettings::TfrmCryptDataSettings(QWidget* owner, int kind, int emitentId, bool useImportCrypt,
                                             bool useExportCrypt, const QString& exportKeyData,
                                             Storage storage, const QString& keyStoreFolder)
    : TTevBaseForm(owner), mKind(kind), mEmitentId(emitentId), mStorage(std::move(storage)),
      mKeyStoreFolder(keyStoreFolder.isEmpty() ? crypto::CryptConfig::keyStoreFolder() : keyStoreFolder)
{
    setObjectName(QStringLiteral("frmCryptDataSettings"));
    const CryptAction table[] = {
        {"actGenerateNewKey", u"vrstrGenerateNewKey", &TfrmCryptDataSettings::actGenerateNewKeyExecute},
        {"actExportKey", u"vrstrExportKey", &TfrmCryptDataSettings::actExportKeyExecute},
        {"actImportKey", u"vrstrImportKey", &TfrmCryptDataSettings::actImportKeyExecute},
    };
    for (const CryptAction& a : table) {
        auto* action = new QAction(this);
        action->setObjectName(QString::fromLatin1(a.name));
        action->setProperty("captionKey", QString::fromUtf16(a.caption));
        connect(action, &QAction::triggered, this, a.handler);
        addAction(action);
        mActions.insert(action->objectName(), action);
    }
    auto button = [this](const char* action) {
        auto* b = new QToolButton(this);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setDefaultAction(mActions.value(QString::fromLatin1(action)));
        return b;
    };

    mImport = new QGroupBox(this);
    mImport->setObjectName(QStringLiteral("gbImport"));
    mUseImport = new QCheckBox(mImport);
    mUseImport->setObjectName(QStringLiteral("cbUseImportCrypt"));
    mUseImport->setChecked(useImportCrypt);
    mGenKeyInfo = new QLabel(mImport);
    mGenKeyInfo->setWordWrap(true);
    auto* importButtons = new QHBoxLayout;
    importButtons->addWidget(button("actGenerateNewKey"));
    importButtons->addWidget(button("actExportKey"));
    importButtons->addStretch();
    auto* importLayout = new QVBoxLayout(mImport);
    importLayout->addWidget(mUseImport);
    importLayout->addWidget(mGenKeyInfo);
    importLayout->addLayout(importButtons);

    mExport = new QGroupBox(this);
    mExport->setObjectName(QStringLiteral("gbExport"));
    mUseExport = new QCheckBox(mExport);
    mUseExport->setObjectName(QStringLiteral("cbUseExportCrypt"));
    mUseExport->setChecked(useExportCrypt);
    mImportKeyInfo = new QLabel(mExport);
    mImportKeyInfo->setWordWrap(true);
    mKeyState = new QLineEdit(mExport);
    mKeyState->setObjectName(QStringLiteral("edtKeyState"));
    mKeyState->setReadOnly(true);
    auto* exportRow = new QHBoxLayout;
    exportRow->addWidget(mKeyState, 1);
    exportRow->addWidget(button("actImportKey"));
    auto* exportLayout = new QVBoxLayout(mExport);
    exportLayout->addWidget(mUseExport);
    exportLayout->addWidget(mImportKeyInfo);
    exportLayout->addLayout(exportRow);

    mSave = new QPushButton(this);
    mSave->setObjectName(QStringLiteral("btnSave"));
    mSave->setDefault(true);
    mCancel = new QPushButton(this);
    mCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(mSave);
    buttons->addWidget(mCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mImport);
    layout->addWidget(mExport);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (QGroupBox* group : {mImport, mExport})
        group->setMinimumWidth(440);
    mKeyState->setMinimumWidth(200);

    // Only the groups of this computer's kind of exchange; the window shrinks to what is left.
    mImport->setVisible(kind == 1 || kind == 3);
    mExport->setVisible(kind == 2 || kind == 3);

    // Whether this emitent's key pair exists, asked of its own container without creating it.
    const QFileInfo container(crypto::KeyStore(mKeyStoreFolder).containerPath(ContainerName(emitentId)));
    mKeyExists = container.isFile() && container.size() > 0;
    mKeyImported = !exportKeyData.isEmpty();

    connect(mSave, &QPushButton::clicked, this, &TfrmCryptDataSettings::btnSaveClick);
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QCheckBox* box : {mUseImport, mUseExport})
        connect(box, &QCheckBox::toggled, this, &TTevBaseForm::requestActionsUpdate);
}

void TfrmCryptDataSettings::SetupCaptions()
{
    setWindowTitle(lang::tr(u"vrstrEncryption"));
    for (QAction* a : std::as_const(mActions))
        a->setText(lang::tr(a->property("captionKey").toString()));
    mImport->setTitle(lang::tr(u"vrstrImportData"));
    mExport->setTitle(lang::tr(u"vrstrExportData"));
    mUseImport->setText(lang::tr(u"vrstrUseEncryption"));
    mUseExport->setText(lang::tr(u"vrstrUseEncryption"));
    mGenKeyInfo->setText(lang::tr(u"vrstrGenKeyInfo"));
    mImportKeyInfo->setText(lang::tr(u"vrstrImportKeyInfo"));
    mKeyState->setText(lang::tr(mKeyImported ? u"vrstrKeyImported" : u"vrstrKeyNotImported"));
    mSave->setText(lang::tr(u"vrstrSave"));
    mCancel->setText(lang::tr(u"rstrCancel"));
}

void TfrmCryptDataSettings::ActionsUpdate()
{
    const bool import = mUseImport->isChecked();
    mActions.value(QStringLiteral("actGenerateNewKey"))->setEnabled(import);
    mActions.value(QStringLiteral("actExportKey"))->setEnabled(import && mKeyExists);
    mActions.value(QStringLiteral("actImportKey"))->setEnabled(mUseExport->isChecked());
}

void TfrmCryptDataSettings::saveBlob(const QByteArray& blob, const QString& error)
{
    if (blob.isEmpty()) {
        lang::ShowMsgBox(this, error, 1);
        return;
    }
    const QString file =
        framework::modalRunner().saveFileName(this, lang::tr(u"vrstrSelectFileForKey"),
                                              ContainerName(mEmitentId) + QStringLiteral(".key"), QString());
    if (file.isEmpty())
        return;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(blob) != blob.size() || !out.commit())
        lang::ShowMsgBox(this, out.errorString(), 1);
}

void TfrmCryptDataSettings::actGenerateNewKeyExecute()
{
    crypto::TEnDeCrypt crypt(mKeyStoreFolder);
    const QByteArray blob = crypt.GenerateKeyPair(ContainerName(mEmitentId));
    if (!blob.isEmpty())
        mKeyExists = true;
    saveBlob(blob, crypt.LastError());
    requestActionsUpdate();
}

void TfrmCryptDataSettings::actExportKeyExecute()
{
    crypto::TEnDeCrypt crypt(mKeyStoreFolder);
    const QByteArray blob = crypt.ExportPublicKey(ContainerName(mEmitentId));
    saveBlob(blob, crypt.LastError());
}

void TfrmCryptDataSettings::actImportKeyExecute()
{
    const QString file = framework::modalRunner().openFileName(this, lang::tr(u"vrstrSelectKeyForImport"),
                                                               QString(), QString());
    if (file.isEmpty())
        return;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        lang::ShowMsgBox(this, in.errorString(), 1);
        return;
    }
    const QByteArray data = in.readAll();
    if (data.isEmpty()) {
        // Stored, an empty key would read as "no key imported" and still pass the save guard.
        lang::ShowMsgBox(
            this,
            LocaleText(QStringLiteral("Файл ключа пуст: %1"), QStringLiteral("The key file is empty: %1"))
                .arg(file),
            1);
        return;
    }
    mStorage.StoreExportKey(mEmitentId, crypto::BinToHex(data));
    mKeyImported = true;
    mKeyState->setText(lang::tr(u"vrstrKeyImported"));
}

void TfrmCryptDataSettings::btnSaveClick()
{
    if (mUseExport->isChecked() && !mKeyImported && (mKind == 2 || mKind == 3)) {
        lang::MessageDlgLang(lang::tr(u"vrstrKeyShoulBeImported"), lang::MsgDlgType::Error, lang::mbOK);
        return;
    }
    mStorage.StoreCrypt(mEmitentId, mUseImport->isChecked() ? 1 : 0, mUseExport->isChecked() ? 1 : 0);
    accept();
}
