#include "WorkbookTemplate.h"

#include "TEXLReportError.h"
#include "XlsxText.h"
#include "XmlCopy.h"
#include "ZipReader.h"
#include "ZipWriter.h"

#include <QRegularExpression>
#include <memory>

namespace xlsx {

namespace {

const char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
const char kSharedStringsType[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";
const char kSharedStringsContentType[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml";

QString folderOf(const QString& part)
{
    const auto slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash);
}

QString relationshipsPartOf(const QString& part)
{
    if (part.isEmpty())
        return QStringLiteral("_rels/.rels");
    const QString folder = folderOf(part);
    const QString file = part.mid(folder.isEmpty() ? 0 : folder.size() + 1);
    return (folder.isEmpty() ? QString() : folder + u'/') + QStringLiteral("_rels/") + file +
           QStringLiteral(".rels");
}

// A relationship's target as a part name (no leading slash, dots resolved).
QString resolveTarget(const QString& sourcePart, const QString& target)
{
    QString path = target.startsWith(u'/')
                       ? target.mid(1)
                       : (folderOf(sourcePart).isEmpty() ? target : folderOf(sourcePart) + u'/' + target);
    QStringList out;
    for (const QString& segment : path.split(u'/')) {
        if (segment.isEmpty() || segment == u".")
            continue;
        if (segment == u"..") {
            if (!out.isEmpty())
                out.removeLast();
        } else {
            out.append(segment);
        }
    }
    return out.join(u'/');
}

// The target written relative to the workbook's folder, as spreadsheet programs write it.
QString relativeTarget(const QString& fromPart, const QString& part)
{
    const QString folder = folderOf(fromPart);
    if (!folder.isEmpty() && part.startsWith(folder + u'/'))
        return part.mid(folder.size() + 1);
    return u'/' + part;
}

bool isRelationshipIdName(QStringView qualifiedName)
{
    return qualifiedName.contains(u':') && localName(qualifiedName) == u"id";
}

QString typeName(QStringView typeUri)
{
    return typeUri.mid(typeUri.lastIndexOf(u'/') + 1).toString();
}

} // namespace

WorkbookTemplate::WorkbookTemplate(const ZipReader& zip, const QString& templateFile)
    : mZip(zip), mTemplateFile(templateFile)
{
    for (const Relationship& r : readRelationships(QString())) {
        if (r.type == u"officeDocument" && !r.external) {
            mWorkbookPart = r.target;
            break;
        }
    }
    if (mWorkbookPart.isEmpty() || !mZip.contains(mWorkbookPart))
        throw TEXLReportError(
            QStringLiteral("\"%1\" is not an xlsx workbook (it has no workbook part)").arg(templateFile));
    mWorkbookRelationships = readRelationships(mWorkbookPart);
    for (const Relationship& r : mWorkbookRelationships) {
        if (r.type == u"sharedStrings") {
            mSharedStringsPart = r.target;
            mHasSharedStrings = mZip.contains(r.target);
        }
    }
    if (mSharedStringsPart.isEmpty())
        mSharedStringsPart = resolveTarget(mWorkbookPart, QStringLiteral("sharedStrings.xml"));
}

std::vector<WorkbookTemplate::Relationship> WorkbookTemplate::readRelationships(const QString& partName) const
{
    std::vector<Relationship> result;
    const QString relsPart = relationshipsPartOf(partName);
    if (!mZip.contains(relsPart))
        return result;
    std::unique_ptr<QXmlStreamReader> reader(newReader(mZip.read(relsPart)));
    while (!reader->atEnd()) {
        if (reader->readNext() != QXmlStreamReader::StartElement ||
            localName(reader->qualifiedName()) != u"Relationship")
            continue;
        const QXmlStreamAttributes a = reader->attributes();
        Relationship r;
        r.id = a.value(QLatin1String("Id")).toString();
        r.type = typeName(a.value(QLatin1String("Type")));
        r.external = a.value(QLatin1String("TargetMode")) == u"External";
        r.target = r.external ? a.value(QLatin1String("Target")).toString()
                              : resolveTarget(partName, a.value(QLatin1String("Target")).toString());
        result.push_back(r);
    }
    if (reader->hasError())
        throw TEXLReportError(QStringLiteral("The part \"%1\" of \"%2\" cannot be read: %3")
                                  .arg(relsPart, mTemplateFile, reader->errorString()));
    return result;
}

void WorkbookTemplate::selectSheet(const QString& name)
{
    std::unique_ptr<QXmlStreamReader> reader(newReader(mZip.read(mWorkbookPart)));
    QStringList names;
    int index = 0;
    while (!reader->atEnd()) {
        if (reader->readNext() != QXmlStreamReader::StartElement || reader->qualifiedName() != u"sheet")
            continue;
        const QString sheetName = reader->attributes().value(QLatin1String("name")).toString();
        names.append(sheetName);
        if (mSheetIndex < 0 && sheetName.compare(name, Qt::CaseInsensitive) == 0) {
            mSheetIndex = index;
            for (const QXmlStreamAttribute& a : reader->attributes())
                if (isRelationshipIdName(a.qualifiedName()))
                    mSheetId = a.value().toString();
        }
        ++index;
    }
    if (mSheetIndex < 0)
        throw TEXLReportError(QStringLiteral("The template \"%1\" has no sheet \"%2\" (its sheets: %3)")
                                  .arg(mTemplateFile, name, names.join(QStringLiteral(", "))));
    for (const Relationship& r : mWorkbookRelationships)
        if (r.id == mSheetId && r.type == u"worksheet")
            mSheetPart = r.target;
    if (mSheetPart.isEmpty() || !mZip.contains(mSheetPart))
        throw TEXLReportError(
            QStringLiteral(
                "The sheet \"%1\" of the template \"%2\" is not a worksheet or its part is missing")
                .arg(name, mTemplateFile));
}

QByteArray WorkbookTemplate::sheetXml() const
{
    return mZip.read(mSheetPart);
}

std::vector<TemplateString> WorkbookTemplate::sharedStrings() const
{
    std::vector<TemplateString> result;
    if (!mHasSharedStrings)
        return result;
    std::unique_ptr<QXmlStreamReader> reader(newReader(mZip.read(mSharedStringsPart)));
    while (!reader->atEnd()) {
        if (reader->readNext() != QXmlStreamReader::StartElement || reader->qualifiedName() != u"si")
            continue;
        TemplateString s;
        s.text = readStringItem(*reader, &s.rich);
        result.push_back(std::move(s));
    }
    if (reader->hasError())
        throw TEXLReportError(QStringLiteral("The shared strings of \"%1\" cannot be read: %2")
                                  .arg(mTemplateFile, reader->errorString()));
    return result;
}

QSet<QString> WorkbookTemplate::keptParts() const
{
    // Everything reachable through relationships, except the other sheets, the calculation chain
    // (it lists cells of the template) and what only the report sheet's own relationships reach.
    QSet<QString> kept{QStringLiteral("[Content_Types].xml"), QStringLiteral("_rels/.rels"),
                       relationshipsPartOf(mWorkbookPart), mSheetPart, mSharedStringsPart};
    QStringList queue;
    for (const Relationship& r : readRelationships(QString()))
        if (!r.external)
            queue.append(r.target);
    while (!queue.isEmpty()) {
        const QString part = queue.takeFirst();
        if (kept.contains(part) && part != mWorkbookPart)
            continue;
        if (!mZip.contains(part))
            continue;
        kept.insert(part);
        if (part == mWorkbookPart) {
            for (const Relationship& r : mWorkbookRelationships) {
                if (r.external || r.type == u"worksheet" || r.type == u"chartsheet" ||
                    r.type == u"dialogsheet" || r.type == u"macrosheet" || r.type == u"calcChain" ||
                    r.type == u"sharedStrings")
                    continue;
                queue.append(r.target);
            }
            continue;
        }
        const QString rels = relationshipsPartOf(part);
        if (!mZip.contains(rels))
            continue;
        kept.insert(rels);
        for (const Relationship& r : readRelationships(part))
            if (!r.external)
                queue.append(r.target);
    }
    return kept;
}

QByteArray WorkbookTemplate::workbookXml(int firstTitleRow, int lastTitleRow) const
{
    std::unique_ptr<QXmlStreamReader> reader(newReader(mZip.read(mWorkbookPart)));
    QByteArray out(kXmlDeclaration);
    int sheetIndex = 0;
    static const QRegularExpression rowSpan(QStringLiteral("\\$(\\d+):\\$(\\d+)"));
    while (!reader->atEnd()) {
        switch (reader->readNext()) {
        case QXmlStreamReader::StartElement: {
            const QStringView name = reader->qualifiedName();
            if (name == u"sheet") {
                if (sheetIndex++ == mSheetIndex)
                    copyElement(*reader, out);
                else
                    reader->skipCurrentElement();
            } else if (name == u"workbookView") {
                copyElement(*reader, out, [](QStringView attribute) {
                    return attribute == u"activeTab" || attribute == u"firstSheet";
                });
            } else if (name == u"definedNames") {
                // Only the report sheet's print titles survive, moved with the title band; every other
                // name refers to cells of the template or to sheets that are gone.
                QByteArray names;
                while (reader->readNextStartElement()) {
                    const QXmlStreamAttributes a = reader->attributes();
                    const bool isTitles =
                        a.value(QLatin1String("name"))
                            .compare(QLatin1String("_xlnm.Print_Titles"), Qt::CaseInsensitive) == 0;
                    const bool ofSheet = a.value(QLatin1String("localSheetId")).toInt() == mSheetIndex &&
                                         a.hasAttribute(QLatin1String("localSheetId"));
                    QString text = reader->readElementText(QXmlStreamReader::IncludeChildElements);
                    if (!isTitles || !ofSheet || firstTitleRow <= 0)
                        continue;
                    bool fits = true;
                    QString moved;
                    qsizetype last = 0;
                    for (auto it = rowSpan.globalMatch(text); it.hasNext();) {
                        const auto m = it.next();
                        const int from = m.captured(1).toInt();
                        const int to = m.captured(2).toInt();
                        fits = fits && from >= firstTitleRow && to <= lastTitleRow;
                        moved += text.mid(last, m.capturedStart() - last);
                        moved += QStringLiteral("$%1:$%2")
                                     .arg(from - firstTitleRow + 1)
                                     .arg(to - firstTitleRow + 1);
                        last = m.capturedEnd();
                    }
                    moved += text.mid(last);
                    if (!fits)
                        continue;
                    names.append("<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">");
                    appendPlainText(names, moved);
                    names.append("</definedName>");
                }
                if (!names.isEmpty()) {
                    out.append("<definedNames>");
                    out.append(names);
                    out.append("</definedNames>");
                }
            } else {
                appendStartTag(out, *reader);
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            appendEndTag(out, reader->qualifiedName());
            break;
        case QXmlStreamReader::Characters:
            if (!reader->isWhitespace())
                appendPlainText(out, reader->text());
            break;
        default:
            break;
        }
    }
    if (reader->hasError())
        throw TEXLReportError(QStringLiteral("The workbook part of \"%1\" cannot be read: %2")
                                  .arg(mTemplateFile, reader->errorString()));
    return out;
}

QByteArray WorkbookTemplate::workbookRelationshipsXml() const
{
    QByteArray out(kXmlDeclaration);
    out.append("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    std::unique_ptr<QXmlStreamReader> reader(newReader(mZip.read(relationshipsPartOf(mWorkbookPart))));
    QSet<QString> ids;
    bool hasSharedStrings = false;
    while (!reader->atEnd()) {
        if (reader->readNext() != QXmlStreamReader::StartElement ||
            localName(reader->qualifiedName()) != u"Relationship")
            continue;
        const QXmlStreamAttributes a = reader->attributes();
        const QString type = typeName(a.value(QLatin1String("Type")));
        const QString id = a.value(QLatin1String("Id")).toString();
        ids.insert(id);
        const bool otherSheet = (type == u"worksheet" || type == u"chartsheet" || type == u"dialogsheet" ||
                                 type == u"macrosheet") &&
                                id != mSheetId;
        if (otherSheet || type == u"calcChain")
            continue;
        hasSharedStrings = hasSharedStrings || type == u"sharedStrings";
        out.append("<Relationship");
        for (const QXmlStreamAttribute& attribute : a) {
            out.append(' ');
            out.append(attribute.qualifiedName().toUtf8());
            out.append("=\"");
            appendPlainText(out, attribute.value(), true);
            out.append('"');
        }
        out.append("/>");
    }
    if (!hasSharedStrings) {
        QString id = QStringLiteral("rIdSharedStrings");
        while (ids.contains(id))
            id += u'1';
        out.append("<Relationship Id=\"" + id.toUtf8() + "\" Type=\"" + kSharedStringsType + "\" Target=\"");
        appendPlainText(out, relativeTarget(mWorkbookPart, mSharedStringsPart), true);
        out.append("\"/>");
    }
    out.append("</Relationships>");
    return out;
}

QByteArray WorkbookTemplate::contentTypesXml(const QSet<QString>& parts) const
{
    QByteArray out(kXmlDeclaration);
    out.append("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">");
    std::unique_ptr<QXmlStreamReader> reader(newReader(mZip.read(QStringLiteral("[Content_Types].xml"))));
    bool sharedStringsDeclared = false;
    QByteArray overrides;
    while (!reader->atEnd()) {
        if (reader->readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = localName(reader->qualifiedName());
        if (name == u"Default") {
            appendStartTag(out, *reader, {}, true);
        } else if (name == u"Override") {
            const QString part = reader->attributes().value(QLatin1String("PartName")).toString().mid(1);
            if (!parts.contains(part))
                continue;
            sharedStringsDeclared = sharedStringsDeclared || part == mSharedStringsPart;
            appendStartTag(overrides, *reader, {}, true);
        }
    }
    if (reader->hasError())
        throw TEXLReportError(QStringLiteral("The content types of \"%1\" cannot be read: %2")
                                  .arg(mTemplateFile, reader->errorString()));
    out.append(overrides);
    if (!sharedStringsDeclared) {
        out.append("<Override PartName=\"/");
        appendPlainText(out, mSharedStringsPart, true);
        out.append("\" ContentType=\"");
        out.append(kSharedStringsContentType);
        out.append("\"/>");
    }
    out.append("</Types>");
    return out;
}

void WorkbookTemplate::write(ZipWriter& out, const QByteArray& sheetXml, const QByteArray& sharedStringsXml,
                             int firstTitleRow, int lastTitleRow) const
{
    const QSet<QString> parts = keptParts();
    const QString contentTypes = QStringLiteral("[Content_Types].xml");
    const QString workbookRels = relationshipsPartOf(mWorkbookPart);
    out.add(contentTypes, contentTypesXml(parts));
    for (const QString& name : mZip.names()) {
        if (!parts.contains(name) || name == contentTypes || name == mSharedStringsPart)
            continue;
        if (name == mWorkbookPart)
            out.add(name, workbookXml(firstTitleRow, lastTitleRow));
        else if (name == workbookRels)
            out.add(name, workbookRelationshipsXml());
        else if (name == mSheetPart)
            out.add(name, sheetXml, 1);
        else
            out.copyRaw(mZip, name);
    }
    out.add(mSharedStringsPart, sharedStringsXml, 1);
}

} // namespace xlsx
