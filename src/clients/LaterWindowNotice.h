#pragma once

#include <QString>

class QWidget;

// Commands whose window comes with a later version of the console say so when they run.
namespace LaterWindowNotice {

// "Окно «<caption>» появится в следующей версии." (English for other user locales); the caption's
// accelerator marks and trailing dots are dropped.
QString Text(const QString& windowCaption);
// Shows that text in an information box.
void Show(QWidget* owner, const QString& windowCaption);

} // namespace LaterWindowNotice
