#include "MailTemplateFiles.h"

#include "Cp1251.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

QString MailTemplateFiles::load(const QString& path, const QString& defaultText)
{
    if (!QFileInfo::exists(path))
        return defaultText;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(
            ("Error proccessing " + QFileInfo(path).fileName() + ". " + file.errorString()).toStdString());
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString asUtf8 = utf8(bytes);
    QString text = utf8.hasError() ? lang::fromCp1251(bytes) : asUtf8;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

void MailTemplateFiles::save(const QString& path, const QString& text)
{
    QString crlf = text;
    crlf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    bool lossless = false;
    QByteArray bytes = lang::toCp1251(crlf, &lossless);
    if (!lossless)
        bytes = crlf.toUtf8();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(("Error saving " + QFileInfo(path).fileName() + ". " + file.errorString()).toStdString());
}
