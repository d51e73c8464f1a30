#pragma once

#include <QDialog>
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
    AboutDialog(int languageId, QWidget* owner = nullptr);
    ~AboutDialog() override;

    int languageId() const { return mLanguageId; }
    QString productText() const;
    QString versionText() const;

private:
    std::unique_ptr<Ui::AboutDialog> ui;
    int mLanguageId;
};
