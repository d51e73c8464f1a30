#pragma once

#include "ModalRunner.h"

#include <QString>

// The demo's conveniences, kept out of the dialogs: the sign-in dialog comes up with the demo
// password typed in, and in screenshot mode it also presses "Соединить" by itself. Every other
// dialog runs as usual.
class DemoModalRunner : public framework::ModalRunner
{
public:
    DemoModalRunner(QString password, bool connectByItself);

    int exec(QDialog& dialog) override;

private:
    QString mPassword;
    bool mConnectByItself;
    bool mConnectPressed = false;
};
