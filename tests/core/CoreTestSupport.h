#pragma once

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

// One widget application for the whole test program.
inline QApplication& coreTestApp()
{
    static int argc = 1;
    static char name[] = "core_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: Qt's own statics may already be gone at exit.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// A private application folder (TEV_APP_DIR) with a DEDAdize.ini written from lines.
class AppFolder
{
public:
    AppFolder() { qputenv("TEV_APP_DIR", mDir.path().toLocal8Bit()); }
    ~AppFolder()
    {
        QFile::setPermissions(mDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qunsetenv("TEV_APP_DIR");
    }
    QString path() const { return mDir.path(); }
    QString ini() const { return mDir.filePath(QStringLiteral("DEDAdize.ini")); }
    void write(const QStringList& lines) const
    {
        QFile f(ini());
        if (f.open(QIODevice::WriteOnly))
            f.write(lines.join(QStringLiteral("\r\n")).toLocal8Bit() + "\r\n");
    }
    QString text() const
    {
        QFile f(ini());
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
    }
    void makeReadOnly() const { QFile::setPermissions(mDir.path(), QFile::ReadOwner | QFile::ExeOwner); }

private:
    QTemporaryDir mDir;
};

// Runs `action` on the modal dialog of type T once it is shown (a modal exec() is waiting for it).
template <class T>
void whenModal(std::function<void(T&)> action)
{
    auto* timer = new QTimer(&coreTestApp());
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(*dialog);
        }
    });
    timer->start();
}
