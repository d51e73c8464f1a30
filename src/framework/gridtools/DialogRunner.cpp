#include "DialogRunner.h"

#include <QDialog>
#include <QFileDialog>

namespace gridtools {

namespace {
DialogRunner gInteractive;
DialogRunner* gCurrent = &gInteractive;
} // namespace

int DialogRunner::exec(QDialog& dialog)
{
    return dialog.exec();
}

QString DialogRunner::saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                   const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

DialogRunner& dialogRunner()
{
    return *gCurrent;
}

DialogRunner* setDialogRunner(DialogRunner* runner)
{
    DialogRunner* previous = gCurrent;
    gCurrent = runner ? runner : &gInteractive;
    return previous;
}

} // namespace gridtools
