#pragma once

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class AboutDialog;
}

// The console's about box, in the interface language it is given (Russian for 25, English for
// every other id).
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    using Runner = std::function<void(QWidget* owner, int languageId)>;

    AboutDialog(int languageId, QWidget* owner = nullptr);
    ~AboutDialog() override;

    int languageId() const { return mLanguageId; }
    QString productText() const;
    QString versionText() const;

    // The about box as the main window opens it (replaceable by a test; nullptr: the dialog).
    static void Execute(QWidget* owner, int languageId);
    static void setRunner(Runner runner);

private:
    std::unique_ptr<Ui::AboutDialog> ui;
    int mLanguageId;
};
