#include "SharedStrings.h"

#include "XlsxText.h"

namespace xlsx {

int SharedStrings::add(const QString& text)
{
    const auto it = mPlain.constFind(text);
    if (it != mPlain.constEnd())
        return it.value();
    QByteArray item;
    item.reserve(text.size() + 24);
    item.append(needsSpacePreserve(text) ? "<si><t xml:space=\"preserve\">" : "<si><t>");
    appendEscaped(item, text);
    item.append("</t></si>");
    const int index = int(mItems.size());
    mItems.push_back(std::move(item));
    mPlain.insert(text, index);
    return index;
}

int SharedStrings::addRaw(const QByteArray& innerXml)
{
    const auto it = mRaw.constFind(innerXml);
    if (it != mRaw.constEnd())
        return it.value();
    const int index = int(mItems.size());
    mItems.push_back("<si>" + innerXml + "</si>");
    mRaw.insert(innerXml, index);
    return index;
}

QByteArray SharedStrings::xml() const
{
    qsizetype total = 200;
    for (const QByteArray& item : mItems)
        total += item.size();
    QByteArray out;
    out.reserve(total);
    out.append("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" count=\"");
    appendInteger(out, std::max<long long>(mUses, (long long)mItems.size()));
    out.append("\" uniqueCount=\"");
    appendInteger(out, (long long)mItems.size());
    out.append("\">");
    for (const QByteArray& item : mItems)
        out.append(item);
    out.append("</sst>");
    return out;
}

} // namespace xlsx
