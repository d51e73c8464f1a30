#pragma once

// Copying parts of a template's XML unchanged, element by element, with namespace prefixes and
// declarations as they stand (the reader runs without namespace processing).
#include <QByteArray>
#include <QStringView>
#include <QXmlStreamReader>
#include <functional>

namespace xlsx {

using AttributeFilter = std::function<bool(QStringView qualifiedName)>; // true: leave it out

// The name without its prefix.
QStringView localName(QStringView qualifiedName);
QXmlStreamReader* newReader(const QByteArray& xml);

// Plain XML escaping of text already in the file's own form (no _xHHHH_ handling).
void appendPlainText(QByteArray& out, QStringView text, bool inAttribute = false);
void appendStartTag(QByteArray& out, const QXmlStreamReader& reader, const AttributeFilter& drop = {},
                    bool selfClosing = false);
void appendEndTag(QByteArray& out, QStringView qualifiedName);
// Copies the element the reader stands on (a start element) with everything inside it; the reader
// ends on its end element.
void copyElement(QXmlStreamReader& reader, QByteArray& out, const AttributeFilter& drop = {});
// The text of every <t> inside the element the reader stands on (a <si> or an <is>), leaving out
// phonetic runs. innerXml gets the item's XML when it has formatted runs, else stays empty.
QString readStringItem(QXmlStreamReader& reader, QByteArray* innerXml);

} // namespace xlsx
