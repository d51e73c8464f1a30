#include "LaterWindowNotice.h"

#include "DbHelpers.h"
#include "MessageDialogs.h"

#include <QRegularExpression>

namespace LaterWindowNotice {

QString Text(const QString& windowCaption)
{
    QString caption = windowCaption;
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    caption.replace(QStringLiteral("&&"), QStringLiteral("&"));
    caption.remove(QRegularExpression(QStringLiteral("[\\s.*]+$")));
    return LocaleText(QStringLiteral("Окно «%1» появится в следующей версии."),
                      QStringLiteral("The window \"%1\" will be available in the next version."))
        .arg(caption.trimmed());
}

void Show(QWidget* owner, const QString& windowCaption)
{
    lang::ShowMsgBox(owner, Text(windowCaption), 2);
}

} // namespace LaterWindowNotice
