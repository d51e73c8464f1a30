#include "IniFile.h"

#include "Cp1251.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace lang {

namespace {

struct Line
{
    qsizetype begin = 0;        // first byte of the line
    qsizetype contentBegin = 0; // after a UTF-8 byte order mark on the first line
    qsizetype contentEnd = 0;   // before CR LF / LF
    qsizetype end = 0;          // after the line break (== contentEnd on a last line without one)
};

struct Entry
{
    QString key;
    QString value;
    int line = 0;
    qsizetype keyBegin = 0; // bytes of the key as spelled in the file
    qsizetype keyEnd = 0;
};

struct Section
{
    QString name;
    int headerLine = 0;
    int lastContentLine = 0; // last non-blank line of the section
    int endLine = 0;         // first line after the section
    QList<Entry> entries;
    QHash<QString, int> firstEntry; // folded key -> entries index
};

bool isBlank(char c)
{
    // 0x1A: the end-of-file mark old editors left behind
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1a';
}

// A section or key name trimmed as the file's own names are (not QString::trimmed(), which also
// takes a no-break space away, so that a key spelled with one could be listed but never read).
QString trimmedName(const QString& name)
{
    const auto blank = [](QChar c) { return c.unicode() < 0x80 && isBlank(char(c.unicode())); };
    qsizetype from = 0, to = name.size();
    while (from < to && blank(name[from]))
        ++from;
    while (to > from && blank(name[to - 1]))
        --to;
    return name.mid(from, to - from);
}

struct Snapshot
{
    QByteArray bytes;
    QList<Line> lines;
    QList<Section> sections;
    QHash<QString, int> firstSection; // folded name -> sections index
    QByteArray lineBreak = "\r\n";
    bool unreadable = false; // there is a file, but its bytes could not be read

    const Section* section(const QString& name) const
    {
        const auto it = firstSection.constFind(trimmedName(name).toCaseFolded());
        return it == firstSection.cend() ? nullptr : &sections[*it];
    }
    static const Entry* entry(const Section* s, const QString& key)
    {
        if (!s)
            return nullptr;
        const auto it = s->firstEntry.constFind(trimmedName(key).toCaseFolded());
        return it == s->firstEntry.cend() ? nullptr : &s->entries[*it];
    }
};

void trim(const QByteArray& b, qsizetype& from, qsizetype& to)
{
    while (from < to && isBlank(b[from]))
        ++from;
    while (to > from && isBlank(b[to - 1]))
        --to;
}

QString decode(const QByteArray& b, qsizetype from, qsizetype to)
{
    return fromCp1251(b.constData() + from, to - from);
}

std::shared_ptr<Snapshot> parse(QByteArray bytes)
{
    auto snap = std::make_shared<Snapshot>();
    snap->bytes = std::move(bytes);
    const QByteArray& b = snap->bytes;
    const qsizetype size = b.size();

    const qsizetype firstLf = b.indexOf('\n');
    if (firstLf > 0 && b[firstLf - 1] != '\r')
        snap->lineBreak = "\n";

    for (qsizetype pos = 0; pos < size;) {
        Line line;
        line.begin = pos;
        line.contentBegin = pos;
        if (pos == 0 && b.startsWith("\xEF\xBB\xBF"))
            line.contentBegin = 3;
        const qsizetype lf = b.indexOf('\n', pos);
        if (lf < 0) {
            line.contentEnd = line.end = size;
        } else {
            line.contentEnd = (lf > pos && b[lf - 1] == '\r') ? lf - 1 : lf;
            line.end = lf + 1;
        }
        pos = line.end;
        snap->lines.append(line);
    }

    int current = -1; // index into sections: the list grows while we parse
    for (int i = 0; i < snap->lines.size(); ++i) {
        const Line& line = snap->lines[i];
        qsizetype from = line.contentBegin, to = line.contentEnd;
        trim(b, from, to);
        if (from == to)
            continue;
        // A header needs its closing bracket; "[name" alone is an ordinary line.
        const qsizetype close = b[from] == '[' ? b.lastIndexOf(']', to - 1) : -1;
        if (close > from) {
            qsizetype nameEnd = close;
            qsizetype nameFrom = from + 1;
            trim(b, nameFrom, nameEnd);
            if (current >= 0)
                snap->sections[current].endLine = i;
            Section s;
            s.name = decode(b, nameFrom, nameEnd);
            s.headerLine = s.lastContentLine = i;
            snap->sections.append(s);
            current = int(snap->sections.size() - 1);
            const QString folded = s.name.toCaseFolded();
            if (!snap->firstSection.contains(folded))
                snap->firstSection.insert(folded, current);
            continue;
        }
        if (current < 0)
            continue; // lines before the first section belong to nobody
        Section& section = snap->sections[current];
        section.lastContentLine = i;
        if (b[from] == ';')
            continue;
        const qsizetype eq = b.indexOf('=', from);
        if (eq < 0 || eq >= to)
            continue;
        qsizetype keyFrom = from, keyTo = eq;
        trim(b, keyFrom, keyTo);
        if (keyFrom == keyTo)
            continue;
        // The value ends at a NUL byte, as a C string handed back by the profile functions does.
        qsizetype valueFrom = eq + 1, valueTo = to;
        const qsizetype nul = b.indexOf('\0', valueFrom);
        if (nul >= 0 && nul < valueTo)
            valueTo = nul;
        trim(b, valueFrom, valueTo);
        if (valueTo - valueFrom >= 2 && (b[valueFrom] == '"' || b[valueFrom] == '\'') &&
            b[valueTo - 1] == b[valueFrom]) {
            ++valueFrom;
            --valueTo;
        }
        valueTo = std::min(valueTo, valueFrom + IniFile::kMaxValueLength);
        Entry e;
        e.key = decode(b, keyFrom, keyTo);
        e.value = decode(b, valueFrom, valueTo);
        e.line = i;
        e.keyBegin = keyFrom;
        e.keyEnd = keyTo;
        section.entries.append(e);
        const QString folded = e.key.toCaseFolded();
        if (!section.firstEntry.contains(folded))
            section.firstEntry.insert(folded, int(section.entries.size() - 1));
    }
    if (current >= 0)
        snap->sections[current].endLine = int(snap->lines.size());
    return snap;
}

struct Stamp
{
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};

    bool operator==(const Stamp& o) const
    {
        return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size &&
               mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec &&
               ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

Stamp stampOf(const QByteArray& path)
{
    Stamp s;
    struct stat st;
    if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return s;
    s.exists = true;
    s.dev = st.st_dev;
    s.ino = st.st_ino;
    s.size = st.st_size;
    s.mtime = st.st_mtim;
    s.ctime = st.st_ctim;
    return s;
}

bool readAll(const QByteArray& path, QByteArray* data)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char buf[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        data->append(buf, n);
    }
    ::close(fd);
    return ok;
}

// Parsed files by path, re-read whenever the file on disk is not the one parsed last.
// Writes held back while a batch of a file is open (IniFile::Batch): the content the file will get.
struct HeldWrites
{
    int depth = 0;
    std::shared_ptr<const Snapshot> pending;
};

QMutex& heldMutex()
{
    static QMutex m;
    return m;
}

QHash<QString, HeldWrites>& held()
{
    static QHash<QString, HeldWrites> h;
    return h;
}

std::shared_ptr<const Snapshot> heldSnapshot(const QString& path)
{
    QMutexLocker lock(&heldMutex());
    const auto it = held().constFind(path);
    return it == held().cend() ? nullptr : it->pending;
}

class SnapshotCache
{
public:
    std::shared_ptr<const Snapshot> get(const QString& path)
    {
        if (auto pending = heldSnapshot(path))
            return pending;
        const QByteArray native = QFile::encodeName(path);
        const Stamp stamp = stampOf(native);
        std::shared_ptr<const Snapshot> previous;
        {
            QMutexLocker lock(&mMutex);
            const auto it = mEntries.constFind(path);
            if (it != mEntries.cend()) {
                if (it->stamp == stamp && !it->racy)
                    return it->snapshot;
                previous = it->snapshot;
            }
        }
        if (!stamp.exists) {
            forget(path);
            static const auto empty = parse(QByteArray());
            return empty;
        }
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        QByteArray bytes;
        if (!readAll(native, &bytes)) {
            // Reads give defaults; a write must not replace what it could not read.
            forget(path);
            auto unreadable = parse(QByteArray());
            unreadable->unreadable = true;
            return unreadable;
        }
        std::shared_ptr<const Snapshot> snap = previous && previous->bytes == bytes ? previous : parse(bytes);
        // File times move in clock ticks: a file changed within the last second or two may change
        // again without a new time stamp or size, so its bytes are compared on every read until then.
        const bool racy = stamp.mtime.tv_sec >= now.tv_sec - 1 || stamp.ctime.tv_sec >= now.tv_sec - 1;
        QMutexLocker lock(&mMutex);
        if (mEntries.size() > 64 && !mEntries.contains(path))
            mEntries.clear();
        mEntries.insert(path, {stamp, snap, racy});
        return snap;
    }

    void forget(const QString& path)
    {
        QMutexLocker lock(&mMutex);
        mEntries.remove(path);
    }

private:
    struct Item
    {
        Stamp stamp;
        std::shared_ptr<const Snapshot> snapshot;
        bool racy = false;
    };
    QMutex mMutex;
    QHash<QString, Item> mEntries;
};

SnapshotCache& cache()
{
    static SnapshotCache c;
    return c;
}

[[noreturn]] void fail(const QString& path, const QString& reason)
{
    throw IniError(QStringLiteral("Cannot write the file \"%1\": %2").arg(path, reason).toStdString());
}

QString systemError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

bool writeFully(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// Temp file + rename in the same folder; the file keeps its permissions. A folder or file that is
// read-only by its mode bits is refused even for root, like a read-only file on the original system.
void writeAtomically(const QString& path, const QByteArray& data)
{
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink())
        target = info.symLinkTarget();
    const QFileInfo targetInfo(target);
    const QString dir = targetInfo.absolutePath();
    const QByteArray nativeDir = QFile::encodeName(dir);
    const QByteArray nativeTarget = QFile::encodeName(targetInfo.absoluteFilePath());

    struct stat dst;
    if (::stat(nativeDir.constData(), &dst) != 0)
        fail(path, QStringLiteral("the folder \"%1\" cannot be reached (%2)").arg(dir, systemError(errno)));
    if (!S_ISDIR(dst.st_mode))
        fail(path, QStringLiteral("\"%1\" is not a folder").arg(dir));
    if (::access(nativeDir.constData(), W_OK | X_OK) != 0 || (dst.st_mode & 0222) == 0)
        fail(path, QStringLiteral("the folder \"%1\" is not writable").arg(dir));

    struct stat fst;
    const bool exists = ::stat(nativeTarget.constData(), &fst) == 0;
    if (exists) {
        if (!S_ISREG(fst.st_mode))
            fail(path, QStringLiteral("it is not a regular file"));
        if (::access(nativeTarget.constData(), W_OK) != 0 || (fst.st_mode & 0222) == 0)
            fail(path, QStringLiteral("the file is read-only"));
    }

    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = nativeDir + "/." + QFile::encodeName(targetInfo.fileName()) + ".tmp" +
               QByteArray::number(QRandomGenerator::global()->generate(), 16);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        fail(path, systemError(errno));

    const auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(temp.constData());
        fail(path, systemError(err));
    };
    if (exists) {
        if (::fchmod(fd, fst.st_mode & 07777) != 0)
            abandon(errno);
        if (fst.st_uid != ::geteuid() || fst.st_gid != ::getegid()) {
            // Only root can hand the file back to its owner; for anyone else the group may change.
            [[maybe_unused]] const int ignored = ::fchown(fd, fst.st_uid, fst.st_gid);
        }
    }
    if (!writeFully(fd, data) || ::fsync(fd) != 0)
        abandon(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.constData());
        fail(path, systemError(err));
    }
    if (::rename(temp.constData(), nativeTarget.constData()) != 0) {
        const int err = errno;
        ::unlink(temp.constData());
        fail(path, systemError(err));
    }
}

void checkName(const QString& path, const QString& what, const QString& name, bool isKey)
{
    const QString trimmed = trimmedName(name);
    bool bad = trimmed.isEmpty() || name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n'));
    // A key must not read back as a header, a comment or another key's value.
    if (isKey)
        bad = bad || name.contains(QLatin1Char('=')) || trimmed.startsWith(QLatin1Char('[')) ||
              trimmed.startsWith(QLatin1Char(';'));
    if (bad)
        throw IniError(QStringLiteral("Cannot write the file \"%1\": invalid %2 name \"%3\"")
                           .arg(path, what, name)
                           .toStdString());
}

void commit(const QString& path, const Snapshot& old, const QByteArray& bytes)
{
    if (old.unreadable)
        fail(path, QStringLiteral("the file cannot be read"));
    if (bytes == old.bytes)
        return;
    {
        QMutexLocker lock(&heldMutex());
        const auto it = held().find(path);
        if (it != held().end() && it->depth > 0) {
            it->pending = parse(bytes);
            return;
        }
    }
    cache().forget(path);
    writeAtomically(path, bytes);
}

} // namespace

bool parseIniInteger(const QString& text, int* value)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == QLatin1Char('0') &&
               (t[i + 1] == QLatin1Char('x') || t[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return false;
    quint64 v = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * quint64(base) + quint64(d);
        if (v > 0xFFFFFFFFull)
            return false;
    }
    qint64 result;
    if (base == 16) {
        result = qint32(quint32(v)); // hex numbers fill all 32 bits
    } else {
        if (v > (negative ? 0x80000000ull : 0x7FFFFFFFull))
            return false;
        result = qint64(v);
    }
    if (negative)
        result = -result;
    if (value)
        *value = int(qint32(result));
    return true;
}

IniFile::IniFile(const QString& path) : mPath(path) {}

IniFile::Batch::Batch(const QString& path) : mPath(path)
{
    QMutexLocker lock(&heldMutex());
    ++held()[mPath].depth;
}

IniFile::Batch::~Batch()
{
    if (mOpen) {
        try {
            finish();
        } catch (const IniError&) {
            // Reported by finish() when called; here the caller is already failing.
        }
    }
}

void IniFile::Batch::finish()
{
    if (!mOpen)
        return;
    mOpen = false;
    std::shared_ptr<const Snapshot> pending;
    {
        QMutexLocker lock(&heldMutex());
        HeldWrites& h = held()[mPath];
        if (--h.depth > 0)
            return;
        pending = h.pending;
        held().remove(mPath);
    }
    if (!pending)
        return;
    cache().forget(mPath);
    writeAtomically(mPath, pending->bytes);
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    const auto snap = cache().get(mPath);
    const Entry* e = Snapshot::entry(snap->section(section), key);
    return e ? e->value : def;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const
{
    int v = def;
    const QString text = readString(section, key);
    return parseIniInteger(text, &v) ? v : def;
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::sectionExists(const QString& section) const
{
    const auto snap = cache().get(mPath);
    const Section* s = snap->section(section);
    return s && !s->entries.isEmpty();
}

bool IniFile::valueExists(const QString& section, const QString& key) const
{
    const auto snap = cache().get(mPath);
    return Snapshot::entry(snap->section(section), key) != nullptr;
}

QStringList IniFile::readSection(const QString& section) const
{
    const auto snap = cache().get(mPath);
    QStringList keys;
    if (const Section* s = snap->section(section)) {
        for (int i = 0; i < s->entries.size(); ++i) {
            if (s->firstEntry.value(s->entries[i].key.toCaseFolded()) == i)
                keys.append(s->entries[i].key);
        }
    }
    return keys;
}

QStringList IniFile::readSections() const
{
    const auto snap = cache().get(mPath);
    QStringList names;
    for (int i = 0; i < snap->sections.size(); ++i) {
        if (snap->firstSection.value(snap->sections[i].name.toCaseFolded()) == i)
            names.append(snap->sections[i].name);
    }
    return names;
}

void IniFile::writeString(const QString& sectionName, const QString& keyName, const QString& value)
{
    const QString section = trimmedName(sectionName);
    const QString key = trimmedName(keyName);
    checkName(mPath, QStringLiteral("section"), sectionName, false);
    checkName(mPath, QStringLiteral("key"), keyName, true);
    // A line break would split the value into lines of their own (new keys, even new sections).
    QString flat = value;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" "));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray encodedValue = toCp1251(flat);

    const auto snap = cache().get(mPath);
    const QByteArray& old = snap->bytes;
    const QByteArray& nl = snap->lineBreak;
    QByteArray out;
    const Section* s = snap->section(section);
    if (const Entry* e = Snapshot::entry(s, key)) {
        const Line& line = snap->lines[e->line];
        out.reserve(old.size() + encodedValue.size());
        out.append(old.constData(), e->keyEnd);
        out.append('=');
        out.append(encodedValue);
        out.append(old.constData() + line.contentEnd, old.size() - line.contentEnd);
    } else if (s) {
        const Line& last = snap->lines[s->lastContentLine];
        out.append(old.constData(), last.end);
        if (last.end == last.contentEnd)
            out.append(nl); // the file ended without a line break
        out.append(toCp1251(key) + '=' + encodedValue);
        if (last.end != last.contentEnd)
            out.append(nl);
        out.append(old.constData() + last.end, old.size() - last.end);
    } else {
        out = old;
        if (!out.isEmpty() && !out.endsWith('\n'))
            out.append(nl);
        out.append('[' + toCp1251(section) + ']' + nl + toCp1251(key) + '=' + encodedValue + nl);
    }
    commit(mPath, *snap, out);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::eraseSection(const QString& section)
{
    const auto snap = cache().get(mPath);
    const QString folded = trimmedName(section).toCaseFolded();
    QByteArray out;
    qsizetype copied = 0;
    for (const Section& s : snap->sections) {
        if (s.name.toCaseFolded() != folded)
            continue;
        const Line& header = snap->lines[s.headerLine];
        const qsizetype from = header.contentBegin;
        const qsizetype to =
            s.endLine < snap->lines.size() ? snap->lines[s.endLine].begin : snap->bytes.size();
        out.append(snap->bytes.constData() + copied, from - copied);
        copied = to;
    }
    if (copied == 0)
        return;
    out.append(snap->bytes.constData() + copied, snap->bytes.size() - copied);
    commit(mPath, *snap, out);
}

void IniFile::deleteKey(const QString& section, const QString& key)
{
    const auto snap = cache().get(mPath);
    const Section* s = snap->section(section);
    if (!s)
        return;
    const QString folded = trimmedName(key).toCaseFolded();
    QByteArray out;
    qsizetype copied = 0;
    for (const Entry& e : s->entries) {
        if (e.key.toCaseFolded() != folded)
            continue;
        const Line& line = snap->lines[e.line];
        out.append(snap->bytes.constData() + copied, line.begin - copied);
        copied = line.end;
    }
    if (copied == 0)
        return;
    out.append(snap->bytes.constData() + copied, snap->bytes.size() - copied);
    commit(mPath, *snap, out);
}

} // namespace lang
