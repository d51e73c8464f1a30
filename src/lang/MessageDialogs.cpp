#include "MessageDialogs.h"

#include "Catalogue.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace lang {

namespace {

struct ButtonInfo
{
    MsgDlgBtn button;
    ModalResult result;
    const char* key;
    QMessageBox::ButtonRole role;
};

// In the order the standard dialog lays its buttons out.
const ButtonInfo kButtons[] = {
    {mbYes, mrYes, "rstrYes", QMessageBox::YesRole},
    {mbNo, mrNo, "rstrNo", QMessageBox::NoRole},
    {mbOK, mrOk, "rstrOk", QMessageBox::AcceptRole},
    {mbCancel, mrCancel, "rstrCancel", QMessageBox::RejectRole},
    {mbAbort, mrAbort, "rstrAbort", QMessageBox::RejectRole},
    {mbRetry, mrRetry, "rstrRepeat", QMessageBox::AcceptRole},
    {mbIgnore, mrIgnore, "rstrIgnore", QMessageBox::AcceptRole},
    {mbAll, mrAll, "rstrAll", QMessageBox::YesRole},
    {mbNoToAll, mrNoToAll, "rstrAllNo", QMessageBox::NoRole},
    {mbYesToAll, mrYesToAll, "rstrAllYes", QMessageBox::YesRole},
};

QMessageBox::ButtonRole roleOf(int result)
{
    for (const ButtonInfo& b : kButtons) {
        if (b.result == result)
            return b.role;
    }
    return QMessageBox::AcceptRole;
}

QWidget* activeWindow()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::activeWindow() : nullptr;
}

class BoxPresenter : public MessagePresenter
{
public:
    int show(const MessageRequest& request) override
    {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            qWarning("%s", qPrintable(request.text));
            return mrCancel;
        }
        QMessageBox box(request.owner);
        if (!request.caption.isEmpty())
            box.setWindowTitle(request.caption);
        // Texts carry the original's CR LF (one has LF CR); messages may hold "<" from SQL errors.
        QString text = request.text;
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
            .replace(QLatin1String("\n\r"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        box.setTextFormat(Qt::PlainText);
        box.setText(text);
        switch (request.icon) {
        case MsgIcon::Warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        // Default: OK, else Yes, else the first; Escape: Cancel, else No, else OK (as the original).
        QList<QPair<QAbstractButton*, int>> buttons;
        QPushButton* defaultButton = nullptr;
        QPushButton* escapeButton = nullptr;
        int defaultRank = 99;
        int escapeRank = 99;
        for (const auto& [result, caption] : request.buttons) {
            QPushButton* b = box.addButton(caption, roleOf(result));
            buttons.append({b, result});
            const int dRank = result == mrOk ? 0 : result == mrYes ? 1 : 2;
            if (dRank < defaultRank) {
                defaultRank = dRank;
                defaultButton = b;
            }
            const int eRank = result == mrCancel ? 0 : result == mrNo ? 1 : result == mrOk ? 2 : 99;
            if (eRank < escapeRank) {
                escapeRank = eRank;
                escapeButton = b;
            }
        }
        if (defaultButton)
            box.setDefaultButton(defaultButton);
        if (escapeButton)
            box.setEscapeButton(escapeButton);
        box.setWindowModality(request.taskModal || !request.owner ? Qt::ApplicationModal : Qt::WindowModal);
        if (request.topmost)
            box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        for (const auto& [button, result] : buttons) {
            if (button == clicked)
                return result;
        }
        return mrCancel;
    }
};

BoxPresenter& boxPresenter()
{
    static BoxPresenter p;
    return p;
}

MessagePresenter* gPresenter = nullptr;

QString dialogCaption(MsgDlgType type)
{
    switch (type) {
    case MsgDlgType::Warning:
        return tr(u"rstrWarning");
    case MsgDlgType::Error:
        return tr(u"rstrError");
    case MsgDlgType::Confirmation:
        return tr(u"rstrConfirmation");
    case MsgDlgType::Information:
    case MsgDlgType::Custom:
        break;
    }
    return tr(u"rstrMessage");
}

MsgIcon dialogIcon(MsgDlgType type)
{
    switch (type) {
    case MsgDlgType::Warning:
        return MsgIcon::Warning;
    case MsgDlgType::Error:
        return MsgIcon::Error;
    case MsgDlgType::Information:
        return MsgIcon::Information;
    case MsgDlgType::Confirmation:
        return MsgIcon::Question;
    case MsgDlgType::Custom:
        break;
    }
    return MsgIcon::None;
}

// Kinds of the fixed-caption boxes: icon, modality and the caption ShowMsgBox gives them.
MessageRequest msgBox(QWidget* owner, const QString& text, int kind)
{
    MessageRequest r;
    r.text = text;
    r.owner = owner && owner->isVisible() ? owner : activeWindow();
    r.buttons = {{mrOk, QStringLiteral("OK")}};
    switch (kind) {
    case 0:
        r.icon = MsgIcon::Warning;
        r.taskModal = true;
        r.caption = QStringLiteral("Подтверждение");
        break;
    case 1:
        r.icon = MsgIcon::Error;
        r.taskModal = true;
        r.topmost = true;
        r.caption = QStringLiteral("Ошибка");
        break;
    case 2:
        r.icon = MsgIcon::Information;
        r.caption = QStringLiteral("Извещение");
        break;
    case 3:
        r.icon = MsgIcon::Information;
        r.taskModal = true;
        r.topmost = true;
        r.caption = QStringLiteral("Подтверждение");
        break;
    default:
        r.icon = MsgIcon::Error;
        break;
    }
    return r;
}

} // namespace

void setMessagePresenter(MessagePresenter* presenter)
{
    gPresenter = presenter;
}

MessagePresenter& messagePresenter()
{
    return gPresenter ? *gPresenter : boxPresenter();
}

int MessageDlgLang(const QString& text, MsgDlgType type, int buttons)
{
    MessageRequest r;
    r.caption = dialogCaption(type);
    r.text = text;
    r.icon = dialogIcon(type);
    r.owner = activeWindow();
    r.taskModal = true; // shown modally over the whole program
    if (buttons == 0)
        buttons = mbOK; // a box without buttons could only be closed
    for (const ButtonInfo& b : kButtons) {
        if (buttons & b.button)
            r.buttons.append({b.result, tr(QString::fromLatin1(b.key))});
    }
    return messagePresenter().show(r);
}

void ShowMsgBox(QWidget* owner, const QString& text, int kind)
{
    messagePresenter().show(msgBox(owner, text, kind));
}

void ShowMsgBoxCaption(QWidget* owner, const QString& text, const QString& caption, int kind)
{
    MessageRequest r = msgBox(owner, text, kind == 3 ? -1 : kind);
    r.caption = caption;
    messagePresenter().show(r);
}

bool AskYesNo(const QString& text, const QString& caption)
{
    MessageRequest r;
    r.caption = caption.isEmpty() ? tr(u"rstrConfirmation") : caption;
    r.text = text;
    r.icon = MsgIcon::Question;
    r.owner = activeWindow();
    r.taskModal = true;
    r.buttons = {{mrYes, tr(u"rstrYes")}, {mrNo, tr(u"rstrNo")}};
    return messagePresenter().show(r) == mrYes;
}

} // namespace lang
