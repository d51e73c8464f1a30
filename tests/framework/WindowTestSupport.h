#pragma once

#include "ModalRunner.h"

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

// Answers the grid tools' dialogs instead of a person and records which ran.
class ToolsRunner : public framework::ModalRunner
{
public:
    ToolsRunner() : mPrevious(framework::setModalRunner(this)) {}
    ~ToolsRunner() override { framework::setModalRunner(mPrevious); }

    int exec(QDialog& dialog) override
    {
        dialogs << QString::fromLatin1(dialog.metaObject()->className());
        titles << dialog.windowTitle();
        return answer ? answer(dialog) : int(QDialog::Rejected);
    }

    std::function<int(QDialog&)> answer;
    QStringList dialogs;
    QStringList titles;

private:
    framework::ModalRunner* mPrevious;
};

// Answers the windows' own sub-dialogs and folder choices.
class WindowRunner : public framework::ModalRunner
{
public:
    WindowRunner() : mPrevious(framework::setModalRunner(this)) {}
    ~WindowRunner() override { framework::setModalRunner(mPrevious); }

    int exec(QDialog& dialog) override
    {
        dialogs << QString::fromLatin1(dialog.metaObject()->className());
        return answer ? answer(dialog) : int(QDialog::Rejected);
    }
    QString existingDirectory(QWidget*, const QString& caption, const QString& start) override
    {
        captions << caption;
        starts << start;
        return folder;
    }

    std::function<int(QDialog&)> answer;
    QStringList dialogs;
    QStringList captions;
    QStringList starts;
    QString folder;

private:
    framework::ModalRunner* mPrevious;
};

// A typed answer for one dialog class; any other dialog fails the test.
template <class D> std::function<int(QDialog&)> answerAs(std::function<int(D&)> fill)
{
    return [fill](QDialog& dialog) {
        D* d = dynamic_cast<D*>(&dialog);
        if (!d) {
            ADD_FAILURE() << "unexpected dialog " << dialog.metaObject()->className();
            return int(QDialog::Rejected);
        }
        return fill(*d);
    };
}

// Shows the window and makes it the active one, so its shortcuts reach it.
inline bool showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// One notch of the mouse wheel over the widget: negative towards the user.
inline void sendWheel(QWidget* target, int deltaY)
{
    QWheelEvent event(QPointF(10, 10), target->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, deltaY),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}
