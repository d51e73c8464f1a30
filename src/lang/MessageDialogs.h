#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QWidget;

namespace lang {

enum class MsgDlgType
{
    Warning,
    Error,
    Information,
    Confirmation,
    Custom
};
enum MsgDlgBtn
{
    mbYes = 1,
    mbNo = 2,
    mbOK = 4,
    mbCancel = 8,
    mbAbort = 16,
    mbRetry = 32,
    mbIgnore = 64,
    mbAll = 128,
    mbNoToAll = 256,
    mbYesToAll = 512
};
enum ModalResult
{
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10
};
enum class MsgIcon
{
    Warning,
    Error,
    Information,
    Question,
    None
};

// Everything a box shows, so tests can check it.
struct MessageRequest
{
    QString caption; // empty: the platform's default caption
    QString text;
    MsgIcon icon = MsgIcon::None;
    QList<QPair<int, QString>> buttons; // result, caption, in order
    QWidget* owner = nullptr;
    bool topmost = false;
    bool taskModal = false; // blocks every window of the program, not only the owner
};

// Every message box and question of the console goes through the current presenter.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    // Returns the pressed button's result; closing the box otherwise gives mrCancel.
    virtual int show(const MessageRequest& request) = 0;
};

void setMessagePresenter(MessagePresenter* presenter); // nullptr restores the QMessageBox one
MessagePresenter& messagePresenter();

// The standard message dialog, labelled from the catalogue; returns the pressed button's result.
int MessageDlgLang(const QString& text, MsgDlgType type, int buttons);
// A box with one OK button; kind: 0 warning, 1 error, 2 information, 3 information on top, other error.
void ShowMsgBox(QWidget* owner, const QString& text, int kind);
// The same with a caller's caption; kind 3 counts as "other" here.
void ShowMsgBoxCaption(QWidget* owner, const QString& text, const QString& caption, int kind);
// Yes/No question with catalogue buttons, the console's usual confirmation: returns true for Yes.
bool AskYesNo(const QString& text, const QString& caption = {});

} // namespace lang
