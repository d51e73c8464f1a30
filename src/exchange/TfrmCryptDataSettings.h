#pragma once

#include "TTevBaseForm.h"

#include <QHash>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// "Шифрование данных": an emitent's encryption of imported and exported data. The web side's key
// pair lives in the key store as "TEV_WEB_<id>"; its public key is handed to the processing
// centre as a file, and the centre's key file is stored in the portal. Generated keys and an
// imported key are kept at once; the two check boxes are stored when the window closes with
// "Сохранить".
class TfrmCryptDataSettings : public TTevBaseForm
{
    Q_OBJECT

public:
    // What the window stores, bound by its caller to the portal calls.
    struct Storage
    {
        std::function<void(int emitentId, const QString& keyData)> StoreExportKey;
        std::function<void(int emitentId, int useImport, int useExport)> StoreCrypt;
    };

    // kind: 1 import only, 2 export only, 3 both. keyStoreFolder empty: the configured one.
    TfrmCryptDataSettings(QWidget* owner, int kind, int emitentId, bool useImportCrypt, bool useExportCrypt,
                          const QString& exportKeyData, Storage storage, const QString& keyStoreFolder = {});

    static QString ContainerName(int emitentId);

    QAction* action(const QString& name) const { return mActions.value(name); }
    QGroupBox* gbImport() const { return mImport; }
    QGroupBox* gbExport() const { return mExport; }
    QCheckBox* cbUseImportCrypt() const { return mUseImport; }
    QCheckBox* cbUseExportCrypt() const { return mUseExport; }
    QLineEdit* edtKeyState() const { return mKeyState; }
    QPushButton* btnSave() const { return mSave; }
    QPushButton* btnCancel() const { return mCancel; }
    bool KeyExists() const { return mKeyExists; }
    bool KeyImported() const { return mKeyImported; }

protected:
    void SetupCaptions() override;
    void ActionsUpdate() override;

private:
    void actGenerateNewKeyExecute();
    void actExportKeyExecute();
    void actImportKeyExecute();
    void btnSaveClick();
    // Asks for a file and writes the blob; a failed key operation writes nothing and says why.
    void saveBlob(const QByteArray& blob, const QString& error);

    int mKind;
    int mEmitentId;
    Storage mStorage;
    QString mKeyStoreFolder;
    bool mKeyExists = false;
    bool mKeyImported = false;
    QHash<QString, QAction*> mActions;
    QGroupBox* mImport;
    QGroupBox* mExport;
    QCheckBox* mUseImport;
    QCheckBox* mUseExport;
    QLabel* mGenKeyInfo;
    QLabel* mImportKeyInfo;
    QLineEdit* mKeyState;
    QPushButton* mSave;
    QPushButton* mCancel;
};
