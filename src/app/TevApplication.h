#pragma once

#include <QApplication>
#include <QStringList>

// The console's application object: it owns the general error display, which shows the text of
// any exception an event handler lets escape and lets the window carry on.
class TevApplication : public QApplication
{
    Q_OBJECT

public:
    // What the first command-line argument asks for; the others are never looked at.
    struct StartOptions
    {
        bool schemeMode = false;   // "/scheme": only the schemes dialog
        bool registerMode = false; // "/register": the services' registration command is shown
    };

    TevApplication(int& argc, char** argv);

    // arguments as QCoreApplication::arguments() gives them (the program first).
    static StartOptions parseCommandLine(const QStringList& arguments);

    bool notify(QObject* receiver, QEvent* event) override;

    // The general error display; db::Abort shows nothing.
    static void showException(std::exception_ptr error);
};
