#include "Catalogue.h"

#include "CatalogueTable.h"

#include <QHash>
#include <QList>
#include <QReadWriteLock>
#include <climits>

namespace lang {

namespace {

class CatalogueState
{
public:
    CatalogueState()
    {
        mTexts.reserve(kCatalogueSize);
        for (int i = 0; i < kCatalogueSize; ++i) {
            mTexts.append(QString::fromUtf8(kCatalogue[i].defaultText));
            mIndex[QString::fromLatin1(kCatalogue[i].key).toCaseFolded()].append(i);
        }
    }

    int index(QStringView key, int occurrence) const
    {
        const auto it = mIndex.constFind(key.toString().toCaseFolded());
        if (it == mIndex.cend() || occurrence < 0 || occurrence >= it->size())
            return -1;
        return it->at(occurrence);
    }

    QString text(int i) const
    {
        QReadLocker lock(&mLock);
        return mTexts.at(i);
    }

    void setText(int i, const QString& t)
    {
        QWriteLocker lock(&mLock);
        mTexts[i] = t;
    }

private:
    mutable QReadWriteLock mLock;
    QList<QString> mTexts;
    QHash<QString, QList<int>> mIndex; // folded key -> entries in catalogue order
};

CatalogueState& state()
{
    static CatalogueState s;
    return s;
}

} // namespace

int catalogueSize()
{
    return kCatalogueSize;
}

int catalogueIndex(QStringView key, int occurrence)
{
    return state().index(key, occurrence);
}

QString catalogueText(QStringView key, int occurrence)
{
    const int i = state().index(key, occurrence);
    Q_ASSERT_X(i >= 0, "lang::catalogueText", qPrintable(key.toString()));
    if (i < 0)
        return key.toString();
    return state().text(i);
}

void setCatalogueText(int index, const QString& text)
{
    Q_ASSERT(index >= 0 && index < kCatalogueSize);
    if (index >= 0 && index < kCatalogueSize)
        state().setText(index, text);
}

QString catalogueDefault(int index)
{
    Q_ASSERT(index >= 0 && index < kCatalogueSize);
    if (index < 0 || index >= kCatalogueSize)
        return {};
    return QString::fromUtf8(kCatalogue[index].defaultText);
}

QString catalogueKey(int index)
{
    Q_ASSERT(index >= 0 && index < kCatalogueSize);
    if (index < 0 || index >= kCatalogueSize)
        return {};
    return QString::fromLatin1(kCatalogue[index].key);
}

namespace {

QString pad(QString s, int width, bool left)
{
    if (s.size() >= width)
        return s;
    const QString fill(width - s.size(), QLatin1Char(' '));
    return left ? s + fill : fill + s;
}

QString groupThousands(const QString& digits)
{
    // digits: optional '-', integer part, optional fraction
    const qsizetype sign = digits.startsWith(QLatin1Char('-')) ? 1 : 0;
    qsizetype dot = digits.indexOf(QLatin1Char('.'));
    if (dot < 0)
        dot = digits.size();
    QString out = digits;
    for (qsizetype pos = dot - 3; pos > sign; pos -= 3)
        out.insert(pos, QLatin1Char(' '));
    return out;
}

} // namespace

QString format(const QString& pattern, const QVariantList& args)
{
    QString out;
    out.reserve(pattern.size() + 16 * args.size());
    int next = 0;
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = pattern[i];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        const qsizetype start = i;
        qsizetype j = i + 1;
        if (j < n && pattern[j] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            i = j;
            continue;
        }
        // %[index:][-][width][.precision]type
        auto readNumber = [&](int* value) {
            const qsizetype from = j;
            int v = 0;
            while (j < n && pattern[j].isDigit() && j - from < 9)
                v = v * 10 + pattern[j++].digitValue();
            *value = v;
            return j > from;
        };
        int number = 0;
        int argIndex = -1;
        const qsizetype afterPercent = j;
        if (readNumber(&number) && j < n && pattern[j] == QLatin1Char(':')) {
            argIndex = number;
            ++j;
        } else {
            j = afterPercent;
        }
        bool left = false;
        if (j < n && pattern[j] == QLatin1Char('-')) {
            left = true;
            ++j;
        }
        int width = 0;
        readNumber(&width);
        int precision = -1;
        if (j < n && pattern[j] == QLatin1Char('.')) {
            ++j;
            readNumber(&precision);
        }
        if (j >= n) {
            out += QStringView(pattern).mid(start);
            break;
        }
        const char16_t type = pattern[j].toLower().unicode();
        const int argNo = argIndex >= 0 ? argIndex : next;
        if (!QStringLiteral("sduxfegn").contains(QChar(type)) || argNo >= args.size()) {
            out += QStringView(pattern).mid(start, j - start + 1);
            i = j;
            continue;
        }
        next = argNo + 1;
        const QVariant& arg = args.at(argNo);
        QString text;
        switch (type) {
        case 's':
            text = arg.toString();
            if (precision >= 0)
                text.truncate(precision);
            break;
        case 'd':
        case 'u': {
            const qlonglong v = arg.toLongLong();
            text = QString::number(v < 0 ? -v : v);
            if (precision > text.size())
                text = QString(precision - text.size(), QLatin1Char('0')) + text;
            if (v < 0)
                text.prepend(QLatin1Char('-'));
            break;
        }
        case 'x': {
            const qlonglong v = arg.toLongLong();
            // negative integers print as their 32-bit pattern, as the original's Format does
            const qulonglong u = (v < 0 && v >= INT_MIN) ? qulonglong(quint32(qint32(v))) : qulonglong(v);
            text = QString::number(u, 16).toUpper();
            if (precision > text.size())
                text = QString(precision - text.size(), QLatin1Char('0')) + text;
            break;
        }
        case 'f':
            text = QString::number(arg.toDouble(), 'f', precision >= 0 ? precision : 2);
            break;
        case 'n':
            text = groupThousands(QString::number(arg.toDouble(), 'f', precision >= 0 ? precision : 2));
            break;
        case 'e':
            text = QString::number(arg.toDouble(), 'E', precision >= 0 ? std::max(precision - 1, 0) : 14);
            break;
        case 'g':
            text = QString::number(arg.toDouble(), 'G', precision >= 0 ? precision : 15);
            break;
        }
        out += pad(text, width, left);
        i = j;
    }
    return out;
}

} // namespace lang
