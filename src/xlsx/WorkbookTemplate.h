#pragma once

#include "TemplateSheet.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

namespace xlsx {

class ZipReader;
class ZipWriter;

// The package around the report's sheet: finds the sheet by name through the workbook's
// relationships and writes a package that holds only that sheet, with the workbook, its
// relationships and the content types rewritten to match. Throws TEXLReportError.
class WorkbookTemplate
{
public:
    WorkbookTemplate(const ZipReader& zip, const QString& templateFile);

    void selectSheet(const QString& name);
    const QString& sheetPart() const { return mSheetPart; }
    QByteArray sheetXml() const;
    std::vector<TemplateString> sharedStrings() const;

    // Rows firstTitleRow..lastTitleRow of the template become rows 1.. of the result: the print
    // titles are moved with them (0 when there is no title band).
    void write(ZipWriter& out, const QByteArray& sheetXml, const QByteArray& sharedStringsXml,
               int firstTitleRow, int lastTitleRow) const;

private:
    struct Relationship
    {
        QString id;
        QString type;   // last segment of the type URI
        QString target; // part name, resolved
        bool external = false;
    };
    std::vector<Relationship> readRelationships(const QString& partName) const;
    QByteArray workbookXml(int firstTitleRow, int lastTitleRow) const;
    QByteArray workbookRelationshipsXml() const;
    QByteArray contentTypesXml(const QSet<QString>& parts) const;
    QSet<QString> keptParts() const;

    const ZipReader& mZip;
    QString mTemplateFile;
    QString mWorkbookPart;
    QString mSheetPart;
    QString mSheetId; // relationship id of the sheet
    int mSheetIndex = -1;
    QString mSharedStringsPart;
    bool mHasSharedStrings = false;
    std::vector<Relationship> mWorkbookRelationships;
};

} // namespace xlsx
