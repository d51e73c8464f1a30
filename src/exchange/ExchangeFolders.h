#pragma once

#include <QString>

// The folder fields of the exchange settings.
namespace ExchangeFolders {

enum class Field
{
    ImportWork, // FolderWebImport
    Sharing,    // FolderSharing
    ImportLog,  // FolderWebInSrvc
    ExportWork, // FolderWebExport
    ExportLog   // FolderOutWeb
};

// The folder of a service's program file; empty for no program.
QString ServiceFolder(const QString& programFile);
// The default of a field: the import service's folder plus "Import" or "Sharing", the folder itself
// for the import log, the export service's folder for the export folders. Empty when the service
// has no program file.
QString DefaultFolder(Field field, const QString& importProgram, const QString& exportProgram);
// Creates a missing folder; true when it exists afterwards.
bool EnsureFolder(const QString& folder);
// Whether a file can be created in the folder. The probe is a new file of a unique name, created
// exclusively and removed again, so no file of the user's is ever touched. `error` gets the
// system's reason when it cannot.
bool IsWritable(const QString& folder, QString* error = nullptr);
// The import working folder and the exchange folder may not be one folder.
bool SameFolder(const QString& a, const QString& b);

} // namespace ExchangeFolders
