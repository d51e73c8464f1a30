#pragma once

// Small pure helpers for writing SpreadsheetML by hand: cell addresses, escaping, numbers and
// date-time serials. Numbers never go through a locale.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringView>

namespace xlsx {

// Longest text a cell holds and the last row of a sheet.
constexpr int kMaxCellText = 32767;
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

// 1 -> "A", 27 -> "AA".
QByteArray columnLetters(int column);
// "B12" -> column 2, row 12; false when it is not a cell address ($ signs allowed).
bool parseCellRef(QStringView text, int* column, int* row);
// "A1:F7" (or one cell "A1") -> its corners.
bool parseRange(QStringView text, int* firstColumn, int* firstRow, int* lastColumn, int* lastRow);

// Appends text as XML character data: &, <, > as entities (and " when inAttribute); characters XML
// cannot carry as _xHHHH_; an underscore that would read as the start of such an escape as _x005F_.
void appendEscaped(QByteArray& out, QStringView text, bool inAttribute = false);
// The text a spreadsheet program means by an escaped cell text (_xHHHH_ decoded).
QString decodeEscapes(const QString& text);
// True when the text needs xml:space="preserve" on its <t> element.
bool needsSpacePreserve(QStringView text);

void appendInteger(QByteArray& out, long long value);
// Shortest text that reads back as the same double, always with a dot.
void appendDouble(QByteArray& out, double value);

// The 1900 date system's serial number of a date-time (days since 1899-12-30, the fraction the
// time of day); false for dates before 1900-01-01, which that system cannot show.
bool excelSerial(const QDateTime& dateTime, double* serial);

} // namespace xlsx
