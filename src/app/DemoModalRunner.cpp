#include "DemoModalRunner.h"

#include "TevApplication.h"
#include "TfmNormalConnect.h"
#include "TfmRegionConnect.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// Time for the dialog's own automatic connection to finish first.
constexpr int kAutomaticConnectionMs = 300;

} // namespace

DemoModalRunner::DemoModalRunner(QString password, bool connectByItself, QString managerPassword)
    : mPassword(std::move(password)), mManagerPassword(std::move(managerPassword)),
      mConnectByItself(connectByItself)
{
}

int DemoModalRunner::exec(QDialog& dialog)
{
    if (auto* signIn = qobject_cast<TfmNormalConnect*>(&dialog)) {
        auto* password = signIn->findChild<QLineEdit*>(QStringLiteral("edtPassword"));
        if (password && password->text().isEmpty())
            password->setText(mPassword);
        // Pressed once only, before the dialog is ever shown; a refused demo password leaves the
        // dialog on screen to be seen.
        if (mConnectByItself && !mConnectPressed) {
            mConnectPressed = true;
            try {
                signIn->btnConnectClick();
            } catch (...) {
                TevApplication::showException(std::current_exception());
            }
            if (signIn->result() == QDialog::Accepted)
                return QDialog::Accepted;
        }
    }
    if (qobject_cast<TfmRegionConnect*>(&dialog))
        signInAsManager(dialog);
    return ModalRunner::exec(dialog);
}

void DemoModalRunner::signInAsManager(QDialog& dialog)
{
    auto* managerPassword = dialog.findChild<QLineEdit*>(QStringLiteral("edtManagerPassword"));
    if (!managerPassword || mManagerPassword.isEmpty())
        return;
    managerPassword->setText(mManagerPassword);
    if (!mConnectByItself || mConnectPressed)
        return;
    mConnectPressed = true;
    QTimer::singleShot(kAutomaticConnectionMs, &dialog, [&dialog, password = mPassword] {
        auto* managers = dialog.findChild<QComboBox*>(QStringLiteral("cbManager"));
        auto* connectionPassword = dialog.findChild<QLineEdit*>(QStringLiteral("edtPassword"));
        auto* connect = dialog.findChild<QPushButton*>(QStringLiteral("btnConnect"));
        if (managers && managers->count() == 0 && connectionPassword && connect) {
            connectionPassword->setText(password);
            connect->click();
        }
        if (managers && managers->count() > 0 && managers->currentIndex() < 0)
            managers->setCurrentIndex(0);
        if (auto* enter = dialog.findChild<QPushButton*>(QStringLiteral("btnEnter")))
            enter->click();
    });
}
