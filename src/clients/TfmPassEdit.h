#pragma once

#include "TTevBaseForm.h"

#include <QList>
#include <QString>
#include <optional>

class QPushButton;
class QTableWidget;

// A login and the password chosen for it.
struct LoginPassword
{
    QString login;
    QString password;
    bool operator==(const LoginPassword&) const = default;
};

// The bulk password grid: one row per login, the login fixed, the password editable and never
// empty. It checks nothing against the portal and writes nothing: the caller applies the rows.
//
//   if (auto rows = TfmPassEdit::Edit(this, pairs)) for (const LoginPassword& r : *rows) ...
class TfmPassEdit : public TTevBaseForm
{
    Q_OBJECT

public:
    explicit TfmPassEdit(QWidget* owner = nullptr);
    ~TfmPassEdit() override;

    void setRows(const QList<LoginPassword>& rows);
    // The rows as edited, in the order given.
    QList<LoginPassword> rows() const;

    QTableWidget* grid() const { return mGrid; }
    QPushButton* btnApply() const { return mApply; }
    QPushButton* btnExit() const { return mExit; }

    // Shows the grid through the modal seam: the edited rows after "Применить", nothing after
    // "Выход".
    static std::optional<QList<LoginPassword>> Edit(QWidget* owner, const QList<LoginPassword>& rows);

protected:
    void SetupCaptions() override;

private:
    QTableWidget* mGrid;
    QPushButton* mApply;
    QPushButton* mExit;
};
