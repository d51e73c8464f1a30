// INI files copied from other machines: any bytes read without a crash, every listed key can be
// read, and a write (a changed key, a new key, a new section) leaves every other key as it was.

#include "FuzzSupport.h"
#include "IniFile.h"

#include <QFile>
#include <QList>
#include <cstdio>

namespace {

struct Item
{
    QString section;
    QString key;
    QString value;
};

QString folded(const QString& name)
{
    return name.trimmed().toCaseFolded();
}

QList<Item> readAll(const lang::IniFile& ini)
{
    QList<Item> items;
    for (const QString& section : ini.readSections()) {
        for (const QString& key : ini.readSection(section)) {
            FUZZ_CHECK(ini.valueExists(section, key));
            const QString value = ini.readString(section, key, QStringLiteral("\x01missing"));
            FUZZ_CHECK(value.size() <= lang::IniFile::kMaxValueLength);
            items.append({section, key, value});
        }
    }
    return items;
}

// Writes one key and checks that the file reads as before with only that key changed (or added).
void writeAndCheck(lang::IniFile& ini, const QString& section, const QString& key, const QString& value)
{
    const QList<Item> before = readAll(ini);
    QFile file(ini.path());
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    const QByteArray bytesBefore = file.readAll();
    file.close();
    try {
        ini.writeString(section, key, value);
    } catch (const lang::IniError&) {
        // Names a file cannot hold are refused; the file stays untouched.
        FUZZ_CHECK(file.open(QIODevice::ReadOnly));
        FUZZ_CHECK(file.readAll() == bytesBefore);
        return;
    }
    FUZZ_CHECK(ini.readString(section, key) == value);
    const QList<Item> after = readAll(ini);
    bool found = false;
    qsizetype j = 0;
    for (const Item& a : after) {
        const bool written = folded(a.section) == folded(section) && folded(a.key) == folded(key);
        if (written) {
            FUZZ_CHECK(a.value == value);
            found = true;
        }
        // Every other key of the file, in order, with its value.
        if (j < before.size() && before[j].section == a.section && before[j].key == a.key) {
            FUZZ_CHECK(written || before[j].value == a.value);
            ++j;
        } else {
            FUZZ_CHECK(written); // only the written key may be new
        }
    }
    FUZZ_CHECK(j == before.size());
    FUZZ_CHECK(found);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = fuzz::scratchFolder() + QStringLiteral("/fuzz.ini");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(fuzz::bytes(data, size)) == qsizetype(size));
    }
    lang::IniFile ini(path);
    const QStringList sections = ini.readSections();
    for (const QString& section : sections) {
        (void)ini.sectionExists(section);
        for (const QString& key : ini.readSection(section)) {
            int n = 0;
            (void)lang::parseIniInteger(ini.readString(section, key), &n);
        }
    }
    const QString value = QStringLiteral("fuzz value Ы");
    if (!sections.isEmpty()) {
        const QString first = sections.first();
        const QStringList keys = ini.readSection(first);
        if (!keys.isEmpty())
            writeAndCheck(ini, first, keys.first(), value);
        writeAndCheck(ini, sections.last(), QStringLiteral("FuzzNewKey"), value);
    }
    writeAndCheck(ini, QStringLiteral("FuzzNewSection"), QStringLiteral("Key"), value);
    return 0;
}
