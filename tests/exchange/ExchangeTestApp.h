#pragma once

#include <QApplication>

// One widget application for the whole test program.
inline QApplication& exchangeTestApp()
{
    static int argc = 1;
    static char name[] = "exchange_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own statics may already be gone at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}
