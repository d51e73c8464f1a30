#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

namespace xlsx {

// The shared-string table of the result, built afresh: each distinct text once.
class SharedStrings
{
public:
    // Index of a plain text.
    int add(const QString& text);
    // Index of an item kept in its template form (formatted runs): the XML inside <si>.
    int addRaw(const QByteArray& innerXml);
    void countUse() { ++mUses; }
    int size() const { return int(mItems.size()); }
    QByteArray xml() const;

private:
    QHash<QString, int> mPlain;
    QHash<QByteArray, int> mRaw;
    std::vector<QByteArray> mItems; // each a whole <si> element
    long long mUses = 0;
};

} // namespace xlsx
