#include "ModalRunner.h"

#include <QDialog>
#include <QFileDialog>

namespace framework {

int ModalRunner::exec(QDialog& dialog)
{
    return dialog.exec();
}

QString ModalRunner::existingDirectory(QWidget* parent, const QString& caption, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

QString ModalRunner::openFileName(QWidget* parent, const QString& caption, const QString& start,
                                  const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, start, filter);
}

QString ModalRunner::saveFileName(QWidget* parent, const QString& caption, const QString& start,
                                  const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, start, filter);
}

namespace {

ModalRunner& interactiveRunner()
{
    static ModalRunner runner;
    return runner;
}

ModalRunner*& installedRunner()
{
    static ModalRunner* runner = nullptr;
    return runner;
}

} // namespace

ModalRunner& modalRunner()
{
    ModalRunner* runner = installedRunner();
    return runner ? *runner : interactiveRunner();
}

ModalRunner* setModalRunner(ModalRunner* runner)
{
    ModalRunner* previous = installedRunner();
    installedRunner() = runner;
    return previous;
}

int execModal(QDialog& dialog)
{
    return modalRunner().exec(dialog);
}

} // namespace framework
