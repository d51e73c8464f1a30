#include "MessageDialogs.h"

#include "Catalogue.h"
#include "RecordingPresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

using namespace lang;

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

using Buttons = QList<QPair<int, QString>>;

QApplication* app()
{
    static int argc = 1;
    static char name[] = "lang_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QApplication(argc, argv);
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

const char* iconName(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Warning:
        return "warning";
    case MsgIcon::Error:
        return "error";
    case MsgIcon::Information:
        return "information";
    case MsgIcon::Question:
        return "question";
    case MsgIcon::None:
        break;
    }
    return "none";
}

// Waits for the modal box the call opens, hands it to `act` and returns what the call returned.
int withModalBox(const std::function<int()>& call, const std::function<void(QMessageBox*)>& act)
{
    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    timer.setInterval(10);
    bool done = false;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && box->isVisible() && !done) {
            done = true;
            act(box);
        } else if (clock.elapsed() > 5000 && box) {
            ADD_FAILURE() << "the box did not appear in time";
            box->reject();
        }
    });
    timer.start();
    const int result = call();
    EXPECT_TRUE(done);
    return result;
}

QStringList buttonTexts(QMessageBox* box)
{
    QStringList texts;
    for (QAbstractButton* b : box->buttons())
        texts << b->text();
    texts.sort();
    return texts;
}

} // namespace

TEST(MessageDialogsTest, MessageDlgLangLabelsFromTheCatalogue)
{
    struct Row
    {
        const char* name;
        MsgDlgType type;
        int buttons;
        QList<int> answers;
        QString caption;
        MsgIcon icon;
        Buttons expected;
        int result;
    };
    const Row rows[] = {
        {"confirmation, Yes pressed",
         MsgDlgType::Confirmation,
         mbYes | mbNo,
         {mrYes},
         "Подтверждение",
         MsgIcon::Question,
         {{mrYes, "Да"}, {mrNo, "Нет"}},
         mrYes},
        {"confirmation, No pressed",
         MsgDlgType::Confirmation,
         mbYes | mbNo,
         {mrNo},
         "Подтверждение",
         MsgIcon::Question,
         {{mrYes, "Да"}, {mrNo, "Нет"}},
         mrNo},
        {"closed otherwise",
         MsgDlgType::Confirmation,
         mbYes | mbNo,
         {mrCancel},
         "Подтверждение",
         MsgIcon::Question,
         {{mrYes, "Да"}, {mrNo, "Нет"}},
         mrCancel},
        {"warning", MsgDlgType::Warning, mbOK, {}, "Предупреждение", MsgIcon::Warning, {{mrOk, "OK"}}, mrOk},
        {"error",
         MsgDlgType::Error,
         mbOK | mbCancel,
         {mrCancel},
         "Ошибка",
         MsgIcon::Error,
         {{mrOk, "OK"}, {mrCancel, "Отмена"}},
         mrCancel},
        {"information",
         MsgDlgType::Information,
         mbOK,
         {},
         "Сообщение",
         MsgIcon::Information,
         {{mrOk, "OK"}},
         mrOk},
        {"custom",
         MsgDlgType::Custom,
         mbAbort | mbRetry | mbIgnore,
         {mrRetry},
         "Сообщение",
         MsgIcon::None,
         {{mrAbort, "Прервать"}, {mrRetry, "Повторить"}, {mrIgnore, "Игнорировать"}},
         mrRetry},
        {"every button, in the standard order",
         MsgDlgType::Confirmation,
         1023,
         {mrYesToAll},
         "Подтверждение",
         MsgIcon::Question,
         {{mrYes, "Да"},
          {mrNo, "Нет"},
          {mrOk, "OK"},
          {mrCancel, "Отмена"},
          {mrAbort, "Прервать"},
          {mrRetry, "Повторить"},
          {mrIgnore, "Игнорировать"},
          {mrAll, "Все"},
          {mrNoToAll, "Все нет"},
          {mrYesToAll, "Все да"}},
         mrYesToAll},
        {"no buttons asked for: OK",
         MsgDlgType::Information,
         0,
         {},
         "Сообщение",
         MsgIcon::Information,
         {{mrOk, "OK"}},
         mrOk},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RecordingPresenter presenter(r.answers);
        EXPECT_EQ(MessageDlgLang(QStringLiteral("Текст"), r.type, r.buttons), r.result);
        ASSERT_EQ(presenter.count(), 1);
        const MessageRequest& q = presenter.last();
        EXPECT_EQ(q.caption, r.caption);
        EXPECT_EQ(q.text, QStringLiteral("Текст"));
        EXPECT_STREQ(iconName(q.icon), iconName(r.icon));
        EXPECT_EQ(q.buttons, r.expected);
    }
}

TEST(MessageDialogsTest, MessageDlgLangFollowsTheCurrentTexts)
{
    const int yes = catalogueIndex(u"rstrYes");
    const int caption = catalogueIndex(u"rstrConfirmation");
    setCatalogueText(yes, QString()); // an empty value in the language file
    setCatalogueText(caption, QStringLiteral("Confirm"));
    RecordingPresenter presenter;
    MessageDlgLang(QStringLiteral("?"), MsgDlgType::Confirmation, mbYes | mbNo);
    setCatalogueText(yes, catalogueDefault(yes));
    setCatalogueText(caption, catalogueDefault(caption));
    EXPECT_EQ(presenter.last().caption, QStringLiteral("Confirm"));
    EXPECT_EQ(presenter.last().buttons, Buttons({{mrYes, QString()}, {mrNo, QStringLiteral("Нет")}}));
}

TEST(MessageDialogsTest, MessageBoxKinds)
{
    struct Row
    {
        const char* name;
        bool withCaption; // ShowMsgBoxCaption instead of ShowMsgBox
        int kind;
        QString caption;
        MsgIcon icon;
        bool taskModal;
        bool topmost;
    };
    const Row rows[] = {
        {"kind 0", false, 0, "Подтверждение", MsgIcon::Warning, true, false},
        {"kind 1", false, 1, "Ошибка", MsgIcon::Error, true, true},
        {"kind 2", false, 2, "Извещение", MsgIcon::Information, false, false},
        {"kind 3", false, 3, "Подтверждение", MsgIcon::Information, true, true},
        {"other kind: no caption of its own", false, 7, "", MsgIcon::Error, false, false},
        {"negative kind", false, -1, "", MsgIcon::Error, false, false},
        {"caption given, kind 0", true, 0, "Свой", MsgIcon::Warning, true, false},
        {"caption given, kind 1", true, 1, "Свой", MsgIcon::Error, true, true},
        {"caption given, kind 2", true, 2, "Свой", MsgIcon::Information, false, false},
        {"caption given, kind 3 counts as other", true, 3, "Свой", MsgIcon::Error, false, false},
        {"caption given, other kind", true, 9, "Свой", MsgIcon::Error, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        RecordingPresenter presenter;
        if (r.withCaption)
            ShowMsgBoxCaption(nullptr, QStringLiteral("Текст"), QStringLiteral("Свой"), r.kind);
        else
            ShowMsgBox(nullptr, QStringLiteral("Текст"), r.kind);
        ASSERT_EQ(presenter.count(), 1);
        const MessageRequest& q = presenter.last();
        EXPECT_EQ(q.caption, r.caption);
        EXPECT_EQ(q.text, QStringLiteral("Текст"));
        EXPECT_STREQ(iconName(q.icon), iconName(r.icon));
        EXPECT_EQ(q.taskModal, r.taskModal);
        EXPECT_EQ(q.topmost, r.topmost);
        EXPECT_EQ(q.buttons, Buttons({{mrOk, QStringLiteral("OK")}})) << "fixed caption, not the catalogue's";
    }
}

TEST(MessageDialogsTest, BoxOwnerIsTheVisibleWindowOrTheActiveOne)
{
    ASSERT_TRUE(app());
    QWidget active;
    active.show();
    QApplication::setActiveWindow(&active);
    QWidget visible;
    visible.show();
    QWidget hidden;
    QWidget* const activeWindow = QApplication::activeWindow();

    RecordingPresenter presenter;
    ShowMsgBox(&visible, QStringLiteral("a"), 2);
    ShowMsgBox(&hidden, QStringLiteral("b"), 2);
    ShowMsgBoxCaption(nullptr, QStringLiteral("c"), QStringLiteral("d"), 1);
    MessageDlgLang(QStringLiteral("e"), MsgDlgType::Warning, mbOK);
    AskYesNo(QStringLiteral("f"));
    ASSERT_EQ(presenter.count(), 5);
    EXPECT_EQ(presenter.requests()[0].owner, &visible);
    EXPECT_EQ(presenter.requests()[1].owner, activeWindow);
    EXPECT_EQ(presenter.requests()[2].owner, activeWindow);
    EXPECT_EQ(presenter.requests()[3].owner, activeWindow);
    EXPECT_EQ(presenter.requests()[4].owner, activeWindow);
}

TEST(MessageDialogsTest, AskYesNo)
{
    RecordingPresenter presenter({mrYes, mrNo, mrCancel});
    EXPECT_TRUE(AskYesNo(QStringLiteral("Удалить?")));
    EXPECT_FALSE(AskYesNo(QStringLiteral("Удалить?"), QStringLiteral("Удалить")));
    EXPECT_FALSE(AskYesNo(QStringLiteral("Удалить?")));
    ASSERT_EQ(presenter.count(), 3);
    EXPECT_EQ(presenter.requests()[0].caption, QStringLiteral("Подтверждение"));
    EXPECT_EQ(presenter.requests()[1].caption, QStringLiteral("Удалить"));
    EXPECT_EQ(presenter.requests()[0].buttons,
              Buttons({{mrYes, QStringLiteral("Да")}, {mrNo, QStringLiteral("Нет")}}));
    EXPECT_STREQ(iconName(presenter.requests()[0].icon), "question");
}

TEST(MessageDialogsTest, RecordingPresenterRestoresThePreviousOne)
{
    MessagePresenter* const original = &messagePresenter();
    {
        RecordingPresenter outer;
        {
            RecordingPresenter inner;
            ShowMsgBox(nullptr, QStringLiteral("x"), 2);
            EXPECT_EQ(inner.count(), 1);
        }
        ShowMsgBox(nullptr, QStringLiteral("y"), 2);
        EXPECT_EQ(outer.count(), 1);
    }
    EXPECT_EQ(&messagePresenter(), original);
}

TEST(MessageDialogsTest, DefaultPresenterShowsAMessageBox)
{
    ASSERT_TRUE(app());
    setMessagePresenter(nullptr);

    struct Row
    {
        const char* name;
        std::function<int()> call;
        QString title;
        QMessageBox::Icon icon;
        QStringList buttons; // sorted
        QString press;       // empty: Escape
        int result;
        bool topmost;
        QString text = QStringLiteral("Вопрос");
    };
    const Row rows[] = {
        {"No pressed",
         [] { return MessageDlgLang(QStringLiteral("Вопрос"), MsgDlgType::Confirmation, mbYes | mbNo); },
         "Подтверждение",
         QMessageBox::Question,
         {"Да", "Нет"},
         "Нет",
         mrNo,
         false},
        {"Yes pressed",
         [] { return MessageDlgLang(QStringLiteral("Вопрос"), MsgDlgType::Confirmation, mbYes | mbNo); },
         "Подтверждение",
         QMessageBox::Question,
         {"Да", "Нет"},
         "Да",
         mrYes,
         false},
        {"Escape gives Cancel",
         [] {
             return MessageDlgLang(QStringLiteral("Ошибка"), MsgDlgType::Error, mbOK | mbCancel | mbRetry);
         },
         "Ошибка",
         QMessageBox::Critical,
         {"OK", "Отмена", "Повторить"},
         "",
         mrCancel,
         false,
         "Ошибка"},
        {"Escape gives No without Cancel",
         [] { return MessageDlgLang(QStringLiteral("Вопрос"), MsgDlgType::Warning, mbYes | mbNo | mbAll); },
         "Предупреждение",
         QMessageBox::Warning,
         {"Все", "Да", "Нет"},
         "",
         mrNo,
         false},
        {"ShowMsgBox kind 1, plain text with line breaks",
         [] {
             ShowMsgBox(nullptr, QStringLiteral("Сбой\r\n<b>ORA-00942</b>\n\rend"), 1);
             return -1;
         },
         "Ошибка",
         QMessageBox::Critical,
         {"OK"},
         "OK",
         -1,
         true,
         "Сбой\n<b>ORA-00942</b>\nend"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QString title;
        QStringList buttons;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool topmost = false;
        QString text;
        const int result = withModalBox(r.call, [&](QMessageBox* box) {
            title = box->windowTitle();
            buttons = buttonTexts(box);
            icon = box->icon();
            topmost = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            text = box->textFormat() == Qt::PlainText ? box->text() : QStringLiteral("<not plain>");
            if (r.press.isEmpty()) {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(box, &escape);
                return;
            }
            for (QAbstractButton* b : box->buttons()) {
                if (b->text() == r.press)
                    b->click();
            }
        });
        EXPECT_EQ(result, r.result);
        EXPECT_EQ(title, r.title);
        EXPECT_EQ(buttons, r.buttons);
        EXPECT_EQ(icon, r.icon);
        EXPECT_EQ(topmost, r.topmost);
        EXPECT_EQ(text, r.text);
    }
}
