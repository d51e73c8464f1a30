#include "DemoModalRunner.h"

#include "TfmNormalConnect.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

DemoModalRunner::DemoModalRunner(QString password, bool connectByItself)
    : mPassword(std::move(password)), mConnectByItself(connectByItself)
{
}

int DemoModalRunner::exec(QDialog& dialog)
{
    if (auto* signIn = qobject_cast<TfmNormalConnect*>(&dialog)) {
        auto* password = signIn->findChild<QLineEdit*>(QStringLiteral("edtPassword"));
        if (password && password->text().isEmpty())
            password->setText(mPassword);
        // Pressed once only: a refused demo password must stay on screen to be seen.
        if (mConnectByItself && !mConnectPressed) {
            mConnectPressed = true;
            if (auto* connect = signIn->findChild<QPushButton*>(QStringLiteral("btnConnect")))
                QTimer::singleShot(0, connect, &QPushButton::click);
        }
    }
    return ModalRunner::exec(dialog);
}
