#pragma once

#include <QString>

class QDialog;
class QWidget;

// How the windows of the console show their modal sub-dialogs and ask for files and folders.
// The interactive runner runs the dialog and the platform's choosers; tests install one that
// fills the dialog or answers the choice instead of a person.
namespace framework {

class ModalRunner
{
public:
    virtual ~ModalRunner() = default;
    // QDialog::Accepted (or the dialog's own result code) when the dialog was confirmed.
    virtual int exec(QDialog& dialog);
    // An existing folder; empty when none was chosen.
    virtual QString existingDirectory(QWidget* parent, const QString& caption, const QString& start);
    // A file to read or to write; empty when none was chosen.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter);
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter);
};

ModalRunner& modalRunner();
// nullptr restores the interactive runner; returns the one that was installed.
ModalRunner* setModalRunner(ModalRunner* runner);

// modalRunner().exec(dialog)
int execModal(QDialog& dialog);

} // namespace framework
