#pragma once

#include <QColor>
#include <QList>
#include <QMap>
#include <QString>

class QWidget;

// The numbered texts the composite controls (quick search, date-range selector, folder editor)
// take their captions and messages from. Every TComBaseForm holds one, filled with the defaults
// when it is created; a window may replace entries (say, with catalogue texts) and then hand the
// table to its controls again so they re-read it.
class TextSources
{
public:
    // Ids the controls read.
    enum Id
    {
        FoundColor = 98, // the decimal text of a colour (BGR, as 16711680 is blue)
        MarkColor = 99,
        ErrorWithMessage = 101,
        FolderMissingTitle = 102,
        CreateFolderQuestion = 103,
        FolderDoesNotExist = 104,
        FolderNotCreated = 105,
        CheckName = 106,
        ValueBetween = 107,
        InvalidCharacters = 121,
        InvalidCharactersInName = 122,
        Open = 123,
        Create = 124,
        Clear = 131,
        Choose = 132,
        ChooseFolderTitle = 133,
        ChooseFolder = 134,
        CancelFolderChoice = 135,
        Search = 136,
        FieldNotSearchable = 137,
        NoSearchField = 138,
        Day = 139,
        Month = 140,
        Year = 141,
        Quarter = 145
    };

    // A table with every default entry.
    TextSources();

    QString text(int id) const { return mTexts.value(id); }
    void setText(int id, const QString& text) { mTexts.insert(id, text); }
    bool contains(int id) const { return mTexts.contains(id); }
    QList<int> ids() const { return mTexts.keys(); }

    static const TextSources& defaults();
    // The table of the window the control sits in, or the defaults when that window has none.
    static const TextSources& of(const QWidget* control);
    // A colour entry: the decimal value of a colour in blue-green-red byte order.
    static QColor colorOf(const QString& text);

private:
    QMap<int, QString> mTexts;
};

// A composite control that takes its texts from a table. The window hands it its table at creation
// (and again whenever the window changed entries); nullptr means the defaults.
class TextSourceClient
{
public:
    virtual ~TextSourceClient() = default;
    virtual void setTextSources(const TextSources* table) = 0;
};
