#include "OraError.h"
#include "PlaceholderWindow.h"
#include "Session.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

namespace {

QString applicationFolder()
{
    const QString overridden = qEnvironmentVariable("TEV_APP_DIR");
    if (!overridden.isEmpty())
        return overridden;
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(exeDir).isWritable())
        return exeDir;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/tev-web-admin");
}

// Minimal reading of DEDAdize.ini until the settings-file layer exists.
QString iniValue(const QString& path, const QString& section, const QString& key, const QString& fallback)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fallback;
    QString current;
    for (const QByteArray& raw : f.readAll().split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            current = line.mid(1, line.size() - 2).trimmed();
        else if (current.compare(section, Qt::CaseInsensitive) == 0) {
            const int eq = line.indexOf(QLatin1Char('='));
            if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
                return line.mid(eq + 1).trimmed();
        }
    }
    return fallback;
}

QString activeScheme(const QString& path)
{
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        bool inSchemes = false;
        for (const QByteArray& raw : f.readAll().split('\n')) {
            const QString line = QString::fromLatin1(raw).trimmed();
            if (line.startsWith(QLatin1Char('[')))
                inSchemes = line.compare(QLatin1String("[SCHEMES]"), Qt::CaseInsensitive) == 0;
            else if (inSchemes && line.section(QLatin1Char('='), 1).trimmed().toInt() != 0)
                return line.section(QLatin1Char('='), 0, 0).trimmed();
        }
    }
    return QStringLiteral("TEV");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("TEV Web Admin"));
    const QString ini = QDir(applicationFolder()).filePath(QStringLiteral("DEDAdize.ini"));
    const QString scheme = activeScheme(ini).toLower();
    const QString screenshot = qEnvironmentVariable("TEV_SCREENSHOT");

    db::Session session;
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Соединение по схеме \"%1\"").arg(scheme.toUpper()));
    auto* form = new QFormLayout(&dialog);
    auto* user = new QLineEdit(iniValue(ini, QStringLiteral("CONNECTION"), QStringLiteral("user"),
                                        QStringLiteral("tev_user")));
    auto* password = new QLineEdit(qEnvironmentVariable("TEV_DEMO_PASSWORD"));
    password->setEchoMode(QLineEdit::Password);
    auto* server = new QComboBox;
    server->setEditable(true);
    server->addItems(db::Session::serviceNames());
    server->setCurrentText(iniValue(ini, QStringLiteral("CONNECTION"), QStringLiteral("server"), QStringLiteral("TEVDEMO")));
    form->addRow(QStringLiteral("Логин"), user);
    form->addRow(QStringLiteral("Пароль"), password);
    form->addRow(QStringLiteral("Сервер"), server);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Соединить"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
    form->addRow(buttons);
    auto attempt = [&] {
        session.setServer(server->currentText().trimmed());
        session.setUsername(user->text().trimmed());
        session.setPassword(password->text());
        try {
            session.connect();
            dialog.accept();
        } catch (const db::OraError& e) {
            QMessageBox::critical(&dialog, QStringLiteral("Ошибка"), e.message());
        }
    };
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, attempt);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (!screenshot.isEmpty())
        QTimer::singleShot(0, &dialog, attempt);
    if (dialog.exec() != QDialog::Accepted)
        return 0;

    std::unique_ptr<PlaceholderWindow> window;
    try {
        window = std::make_unique<PlaceholderWindow>(&session, scheme);
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Ошибка"), QString::fromUtf8(e.what()));
        return 1;
    }
    window->show();
    if (!screenshot.isEmpty())
        QTimer::singleShot(1000, window.get(), [&] {
            window->grab().save(screenshot, "PNG");
            app.quit();
        });
    return app.exec();
}
