#pragma once

#include <QDialog>
#include <functional>
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

    // Asks for the name of a new scheme; no value when cancelled.
    using NamePrompt = std::function<std::optional<QString>(QWidget* parent, const QString& caption)>;
    // Shows the dialog on a settings file and returns the active scheme afterwards.
    using Runner = std::function<QString(const QString& iniPath, QWidget* parent)>;

    explicit TfrmShemaForm(const QString& iniPath, QWidget* parent = nullptr);
    ~TfrmShemaForm() override;

    // The schemes dialog as the start-up and the change of scheme open it.
    static QString Execute(const QString& iniPath, QWidget* parent = nullptr);
    // Replace the dialog or its name prompt (nullptr restores the real one).
    static void setRunner(Runner runner);
    static void setNamePrompt(NamePrompt prompt);

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
