#pragma once

#include <QDialog>
#include <memory>
#include <optional>

class QTreeWidgetItem;

namespace Ui {
class TfrmShemaForm;
}
namespace lang {
class IniFile;
}

// The schemes the console can work on (section SCHEMES of DEDAdize.ini): add, delete, activate.
class TfrmShemaForm : public QDialog
{
    Q_OBJECT

public:
    // Made active when the file names no active scheme (this dialog's reading, not the data module's).
    static constexpr char kDefaultScheme[] = "TALLYMAX5";
    static constexpr int kMaxNameLength = 255;

    // Object name of the small dialog that asks for a new scheme's name (its edit is "edtName").
    static constexpr char kNamePromptName[] = "dlgNewSchemeName";

    explicit TfrmShemaForm(const QString& iniPath, QWidget* parent = nullptr);
    ~TfrmShemaForm() override;

    // The schemes dialog as the start-up and the change of scheme open it (through the modal
    // seam); the active scheme afterwards.
    static QString Run(const QString& iniPath, QWidget* parent = nullptr);

    // Reads the active scheme; with none flagged, kDefaultScheme is made active.
    QString ActiveScheme();

    void btnNewShemeClick();
    void btnActivateClick();
    void btnDeleteClick();

private:
    void fillTree();
    void updateButtons();
    QTreeWidgetItem* selectedScheme() const;
    void activate(QTreeWidgetItem* item);

    std::unique_ptr<Ui::TfrmShemaForm> ui;
    std::unique_ptr<lang::IniFile> mIni;
    QTreeWidgetItem* mRoot = nullptr;
};
