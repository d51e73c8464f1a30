#include "XmlCopy.h"

#include "XlsxText.h"

namespace xlsx {

QStringView localName(QStringView qualifiedName)
{
    const auto colon = qualifiedName.indexOf(u':');
    return colon < 0 ? qualifiedName : qualifiedName.mid(colon + 1);
}

QXmlStreamReader* newReader(const QByteArray& xml)
{
    auto* reader = new QXmlStreamReader(xml);
    reader->setNamespaceProcessing(false);
    return reader;
}

void appendPlainText(QByteArray& out, QStringView text, bool inAttribute)
{
    QByteArray utf8 = text.toUtf8();
    for (char c : utf8) {
        switch (c) {
        case '&':
            out.append("&amp;");
            break;
        case '<':
            out.append("&lt;");
            break;
        case '>':
            out.append("&gt;");
            break;
        case '"':
            out.append(inAttribute ? "&quot;" : "\"");
            break;
        case '\t':
        case '\n':
        case '\r':
            if (inAttribute) {
                out.append("&#");
                appendInteger(out, int(c));
                out.append(';');
            } else {
                out.append(c);
            }
            break;
        default:
            out.append(c);
        }
    }
}

void appendStartTag(QByteArray& out, const QXmlStreamReader& reader, const AttributeFilter& drop,
                    bool selfClosing)
{
    out.append('<');
    out.append(reader.qualifiedName().toUtf8());
    for (const QXmlStreamAttribute& a : reader.attributes()) {
        if (drop && drop(a.qualifiedName()))
            continue;
        out.append(' ');
        out.append(a.qualifiedName().toUtf8());
        out.append("=\"");
        appendPlainText(out, a.value(), true);
        out.append('"');
    }
    out.append(selfClosing ? "/>" : ">");
}

void appendEndTag(QByteArray& out, QStringView qualifiedName)
{
    out.append("</");
    out.append(qualifiedName.toUtf8());
    out.append('>');
}

void copyElement(QXmlStreamReader& reader, QByteArray& out, const AttributeFilter& drop)
{
    appendStartTag(out, reader, drop);
    int depth = 1;
    while (depth > 0 && !reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            appendStartTag(out, reader);
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            appendEndTag(out, reader.qualifiedName());
            --depth;
            break;
        case QXmlStreamReader::Characters:
            appendPlainText(out, reader.text());
            break;
        default:
            break;
        }
    }
}

QString readStringItem(QXmlStreamReader& reader, QByteArray* innerXml)
{
    QString text;
    bool rich = false;
    int depth = 1;
    int phonetic = 0;
    int inText = 0;
    while (depth > 0 && !reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            ++depth;
            appendStartTag(*innerXml, reader);
            const QStringView name = localName(reader.qualifiedName());
            if (name == u"rPh")
                ++phonetic;
            else if (name == u"r")
                rich = true;
            else if (name == u"t")
                ++inText;
            break;
        }
        case QXmlStreamReader::EndElement: {
            --depth;
            if (depth == 0)
                break;
            appendEndTag(*innerXml, reader.qualifiedName());
            const QStringView name = localName(reader.qualifiedName());
            if (name == u"rPh")
                --phonetic;
            else if (name == u"t")
                --inText;
            break;
        }
        case QXmlStreamReader::Characters:
            appendPlainText(*innerXml, reader.text());
            if (inText > 0 && phonetic == 0)
                text += reader.text();
            break;
        default:
            break;
        }
    }
    if (!rich)
        innerXml->clear();
    return decodeEscapes(text);
}

} // namespace xlsx
