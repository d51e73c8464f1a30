#include "MailMessage.h"

#include "Cp1251.h"
#include "TLetter.h"

#include <QFile>
#include <QFileInfo>
// GLib names a struct member "signals", Qt's keyword macro.
#undef signals
#include <gmime/gmime.h>
#include <mutex>

namespace {

void initGMime()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

// Text in code page 1251 when every character has a place there, else UTF-8.
struct Encoded
{
    QByteArray bytes;
    const char* charset;
};

Encoded encode(const QString& text)
{
    bool lossless = true;
    QByteArray cp = lang::toCp1251(text, &lossless);
    if (lossless)
        return {cp, "windows-1251"};
    return {text.toUtf8(), "utf-8"};
}

const char* charsetFor(const QString& text)
{
    return encode(text).charset;
}

template <typename T> struct GUnref
{
    T* p;
    ~GUnref()
    {
        if (p)
            g_object_unref(p);
    }
};

GMimeObject* textPart(const QString& text)
{
    const Encoded body = encode(text);
    GMimeTextPart* part = g_mime_text_part_new_with_subtype("plain");
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(body.bytes.constData(), body.bytes.size());
    GMimeDataWrapper* wrapper = g_mime_data_wrapper_new_with_stream(stream, GMIME_CONTENT_ENCODING_DEFAULT);
    g_mime_part_set_content(GMIME_PART(part), wrapper);
    g_object_unref(wrapper);
    g_object_unref(stream);
    g_mime_text_part_set_charset(part, body.charset);
    g_mime_part_set_content_encoding(GMIME_PART(part), GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE);
    return GMIME_OBJECT(part);
}

GMimeObject* attachmentPart(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return nullptr;
    }
    const QByteArray data = file.readAll();
    GMimePart* part = g_mime_part_new_with_type("application", "octet-stream");
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(data.constData(), data.size());
    GMimeDataWrapper* wrapper = g_mime_data_wrapper_new_with_stream(stream, GMIME_CONTENT_ENCODING_DEFAULT);
    g_mime_part_set_content(part, wrapper);
    g_object_unref(wrapper);
    g_object_unref(stream);
    g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
    g_mime_part_set_filename(part, QFileInfo(path).fileName().toUtf8().constData());
    return GMIME_OBJECT(part);
}

} // namespace

MailContent mailContentOf(const TLetter& letter)
{
    return {letter.Sender,  letter.SenderName, letter.Recipient,
            letter.Subject, letter.Body,       letter.Attachments};
}

MailBox parseMailbox(const QString& text)
{
    const QString t = text.trimmed();
    const qsizetype open = t.lastIndexOf(QLatin1Char('<'));
    const qsizetype close = t.lastIndexOf(QLatin1Char('>'));
    if (open < 0 || close < open)
        return {QString(), t};
    QString name = t.left(open).trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2);
    return {name, t.mid(open + 1, close - open - 1).trimmed()};
}

MailBox senderMailbox(const QString& sender, const QString& senderName)
{
    const MailBox parsed = parseMailbox(sender);
    const bool named = sender.contains(QLatin1Char('<'));
    if (!named)
        return {senderName.trimmed(), parsed.address};
    const bool ownName = !senderName.trimmed().isEmpty() && senderName.trimmed() != sender.trimmed();
    return {ownName ? senderName.trimmed() : parsed.name, parsed.address};
}

QString mailBodyText(const QStringList& body)
{
    QString text = body.join(QLatin1Char('\n'));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    return text;
}

QByteArray buildMimeMessage(const MailContent& content, QString* error)
{
    initGMime();
    GUnref<GMimeMessage> message{g_mime_message_new(TRUE)};

    const MailBox from = senderMailbox(content.Sender, content.SenderName);
    InternetAddress* fromBox = internet_address_mailbox_new(
        from.name.isEmpty() ? nullptr : from.name.toUtf8().constData(), from.address.toUtf8().constData());
    internet_address_set_charset(fromBox, charsetFor(from.name));
    internet_address_list_add(g_mime_message_get_from(message.p), fromBox);
    g_object_unref(fromBox);
    g_mime_message_add_mailbox(message.p, GMIME_ADDRESS_TYPE_TO, nullptr,
                               content.Recipient.toUtf8().constData());
    g_mime_message_set_subject(message.p, content.Subject.toUtf8().constData(), charsetFor(content.Subject));
    GDateTime* now = g_date_time_new_now_local();
    g_mime_message_set_date(message.p, now);
    g_date_time_unref(now);
    const qsizetype at = from.address.lastIndexOf(QLatin1Char('@'));
    const QByteArray domain = at >= 0 ? from.address.mid(at + 1).toUtf8() : QByteArray("localhost");
    char* id = g_mime_utils_generate_message_id(domain.isEmpty() ? "localhost" : domain.constData());
    g_mime_message_set_message_id(message.p, id);
    g_free(id);

    GMimeObject* text = textPart(mailBodyText(content.Body));
    if (content.Attachments.isEmpty()) {
        g_mime_message_set_mime_part(message.p, text);
        g_object_unref(text);
    } else {
        GUnref<GMimeMultipart> mixed{g_mime_multipart_new_with_subtype("mixed")};
        g_mime_multipart_add(mixed.p, text);
        g_object_unref(text);
        for (const QString& path : content.Attachments) {
            GMimeObject* part = attachmentPart(path, error);
            if (!part)
                return {};
            g_mime_multipart_add(mixed.p, part);
            g_object_unref(part);
        }
        g_mime_message_set_mime_part(message.p, GMIME_OBJECT(mixed.p));
    }

    GMimeFormatOptions* options = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(options, GMIME_NEWLINE_FORMAT_DOS);
    GUnref<GMimeStream> out{g_mime_stream_mem_new()};
    g_mime_object_write_to_stream(GMIME_OBJECT(message.p), options, out.p);
    g_mime_format_options_free(options);
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.p));
    QByteArray result(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len));
    if (!result.endsWith("\r\n"))
        result += "\r\n";
    return result;
}
