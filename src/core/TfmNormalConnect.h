#pragma once

#include "Session.h"

#include <QDialog>
#include <memory>
#include <stdexcept>

namespace Ui {
class TfmNormalConnect;
}

// TEV_MANAGER signs in only in the regional managers' mode.
class EManagerError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The administrators' sign-in: user name, password and server; it makes the attempts itself and
// closes as cancelled once the session's retry limit is used up.
class TfmNormalConnect : public QDialog, public db::ConnectDialog
{
    Q_OBJECT

public:
    explicit TfmNormalConnect(QWidget* parent = nullptr);
    ~TfmNormalConnect() override;

    // Fills the dialog from the session and shows it modally; true when connected.
    bool execute(db::Session& session) override;

    // "Соединить". Lets EManagerError, db::Abort and errors that are not Oracle errors escape, so
    // that the general error display reports them and the dialog stays open.
    void btnConnectClick();

    int attemptsLeft() const { return mAttemptsLeft; }
    bool retry() const { return mRetry; }

private:
    void prepare(db::Session& session);

    std::unique_ptr<Ui::TfmNormalConnect> ui;
    db::Session* mSession = nullptr;
    int mAttemptsLeft = 0;
    bool mRetry = false;
};
