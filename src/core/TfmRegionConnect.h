#pragma once

#include "Session.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TfmRegionConnect;
}
class TdmMain;

// The regional managers' sign-in: the session connects under the shared account "tev_manager"
// (connection panel, hidden at first, or automatically with the saved password), then a manager
// chosen from the portal's list signs in with a personal password that the portal checks.
class TfmRegionConnect : public QDialog, public db::ConnectDialog
{
    Q_OBJECT

public:
    static constexpr char kManagerAccount[] = "tev_manager";
    // What the connection password field shows while the saved password stands for it.
    static constexpr char kSavedPasswordPlaceholder[] = "***";
    static constexpr int kHeight = 220;
    static constexpr int kHeightWithConnection = 440;

    explicit TfmRegionConnect(QWidget* parent = nullptr);
    ~TfmRegionConnect() override;

    // Fills the dialog from the session and the settings file and shows it modally; true when a
    // manager has signed in.
    bool execute(db::Session& session) override;

    // "Соединить" (automatic = false) and the automatic connection. Lets db::Abort and errors that
    // are not Oracle errors escape.
    void ConnectToDatabase(bool automatic);
    void btnConnectClick() { ConnectToDatabase(false); }
    // "Войти". Lets errors that are not Oracle errors escape.
    void btnEnterClick();
    void btnSavePasswordClick();
    void btnSetupConnectClick();

    // The status line for a failed connection attempt.
    static QString ConnectStatusText(int oraCode);

    int attemptsLeft() const { return mAttemptsLeft; }
    bool retry() const { return mRetry; }
    bool connectionPanelShown() const;
    QString statusText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void prepare(db::Session& session);
    void applyCaptions();
    void placeButtons();
    void setStatus(const QString& text);
    void fillManagers();
    void clearManagers();
    // The password of the connection panel; the saved one while the field shows its placeholder.
    QString panelPassword() const;
    void autoConnectToggled(bool on);
    void passwordEdited();
    void runAutomaticConnection();

    std::unique_ptr<Ui::TfmRegionConnect> ui;
    db::Session* mSession = nullptr;
    TdmMain* mDm = nullptr;
    int mAttemptsLeft = 0;
    bool mRetry = false;
    bool mShowsPlaceholder = false;
    bool mAutoConnectPending = false;
};
