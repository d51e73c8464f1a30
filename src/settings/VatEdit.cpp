#include "VatEdit.h"

#include "EmitentRules.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>

VatEdit::VatEdit(QWidget* parent) : QLineEdit(parent)
{
    setMaxLength(emitentrules::kMaxVatLength);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
}

void VatEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // Moving and deleting; Shift with them selects. Ctrl+Delete and the like stay out.
        if (event->modifiers() & Qt::ControlModifier) {
            event->ignore();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        event->ignore(); // no paste, cut or undo by keyboard
        return;
    }
    const QString text = event->text();
    if (text.size() != 1) {
        event->ignore();
        return;
    }
    const QChar c = text.front();
    if (c.isDigit() && c.unicode() < 128) {
        QLineEdit::keyPressEvent(event);
    } else if (c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('-')) {
        insert(QString(QLocale().decimalPoint()));
        event->accept();
    } else {
        event->accept(); // dropped
    }
}

void VatEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}
