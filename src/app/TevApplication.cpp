#include "TevApplication.h"

#include "MessageDialogs.h"
#include "OraError.h"

#include <exception>

TevApplication::TevApplication(int& argc, char** argv) : QApplication(argc, argv) {}

TevApplication::StartOptions TevApplication::parseCommandLine(const QStringList& arguments)
{
    StartOptions options;
    if (arguments.size() < 2)
        return options;
    const QString& first = arguments.at(1);
    if (first.contains(QLatin1String("/scheme"), Qt::CaseInsensitive))
        options.schemeMode = true;
    else if (first.contains(QLatin1String("/register"), Qt::CaseInsensitive))
        options.registerMode = true;
    return options;
}

bool TevApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        showException(std::current_exception());
    }
    return false;
}

void TevApplication::showException(std::exception_ptr error)
{
    QString text;
    try {
        std::rethrow_exception(error);
    } catch (const db::Abort&) {
        return;
    } catch (const db::OraError& e) {
        text = e.message();
    } catch (const std::exception& e) {
        text = QString::fromUtf8(e.what());
    } catch (...) {
        text = QStringLiteral("Unknown error");
    }
    lang::ShowMsgBox(QApplication::activeWindow(), text, 1);
}
