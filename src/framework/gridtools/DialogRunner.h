#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace gridtools {

// How the grid tools show their dialogs and ask for file names. The interactive runner runs the
// dialog modally; tests install one that fills the dialog's values and answers.
class DialogRunner
{
public:
    virtual ~DialogRunner() = default;
    // Returns QDialog::Accepted or QDialog::Rejected.
    virtual int exec(QDialog& dialog);
    // A file to write; empty when the user gave none.
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                 const QString& filter);
};

DialogRunner& dialogRunner();
// nullptr restores the interactive runner; returns the one that was installed.
DialogRunner* setDialogRunner(DialogRunner* runner);

} // namespace gridtools
