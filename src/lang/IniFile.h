#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace lang {

// A write that could not be carried out; the message names the file.
class IniError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Windows-style INI file (code page 1251, CR LF, case-insensitive sections and keys, values trimmed,
// one pair of enclosing quotes dropped, at most 2047 characters read), read and written key by key
// straight to the file; a write keeps every other line of the file as it was.
//
// As with the Windows profile functions, the first of two sections (or keys) of the same name is the
// one read and written. A missing or unreadable file reads as an empty one. A write replaces the file
// through a temporary file in the same folder, so a failure never leaves it half written.
class IniFile
{
public:
    static constexpr int kMaxValueLength = 2047;

    explicit IniFile(const QString& path);

    // While a batch of a file is open, writes to it are held in memory (and read back from there)
    // and the file is written once, by finish() or when the last batch of the file ends: one
    // rewrite and one sync instead of one per key.
    class Batch
    {
    public:
        explicit Batch(const QString& path);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Writes what was held (throws IniError as a write does); nothing when an outer batch of
        // the same file is still open.
        void finish();

    private:
        QString mPath;
        bool mOpen = true;
    };

    const QString& path() const { return mPath; }

    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    int readInteger(const QString& section, const QString& key, int def = 0) const;     // not a number -> def
    bool readBool(const QString& section, const QString& key, bool def = false) const;  // integer != 0
    void writeString(const QString& section, const QString& key, const QString& value); // throws IniError
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value); // 1 / 0
    // A section exists while it holds at least one key, as the original's INI class counts it.
    bool sectionExists(const QString& section) const;
    bool valueExists(const QString& section, const QString& key) const;
    QStringList readSection(const QString& section) const; // keys in file order
    QStringList readSections() const;
    void eraseSection(const QString& section); // every section of that name
    void deleteKey(const QString& section, const QString& key);

private:
    QString mPath;
};

// Integer text as the original's run-time library reads it: optional sign, decimal digits or a hex
// number after "$" or "0x", within 32 bits.
bool parseIniInteger(const QString& text, int* value);

} // namespace lang
