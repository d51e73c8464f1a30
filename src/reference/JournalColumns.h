#pragma once

#include <QString>

namespace db {
class Dataset;
}

// Columns the journal and request windows share.
namespace JournalColumns {

// Adds `<source>_ANSI`: the stored column decoded from the portal's escaped form. Returns its name.
QString addDecoded(db::Dataset& dataset, const QString& source, int displayWidth = 0);

} // namespace JournalColumns
