#pragma once

#include "ScriptedModalRunner.h"

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

// The grid tools' dialogs and the windows' own sub-dialogs go through the one modal seam.
using ToolsRunner = ScriptedModalRunner;

// Also answers folder choices.
class WindowRunner : public ScriptedModalRunner
{
public:
    QString existingDirectory(QWidget*, const QString& caption, const QString& start) override
    {
        captions << caption;
        starts << start;
        return folder;
    }

    QStringList captions;
    QStringList starts;
    QString folder;
};

// A typed answer for one dialog class; any other dialog fails the test.
template <class D> std::function<int(QDialog&)> answerAs(std::function<int(D&)> fill)
{
    return answerDialog<D>(std::move(fill));
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
