#pragma once

#include "ModalRunner.h"

#include <QString>

// The demo's conveniences, kept out of the dialogs: the sign-in dialog comes up with the demo
// password typed in, and in screenshot mode it also presses "Соединить" by itself. The regional
// managers' dialog gets the manager's password too, and in screenshot mode connects (unless it has
// connected by itself) and presses "Войти". Every other dialog runs as usual.
class DemoModalRunner : public framework::ModalRunner
{
public:
    DemoModalRunner(QString password, bool connectByItself, QString managerPassword = {});

    int exec(QDialog& dialog) override;

private:
    void signInAsManager(QDialog& dialog);

    QString mPassword;
    QString mManagerPassword;
    bool mConnectByItself;
    bool mConnectPressed = false;
};
