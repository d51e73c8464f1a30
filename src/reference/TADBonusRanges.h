#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace db {
class Session;
class StoredProc;
} // namespace db

// The bonus ranges of one kind: the list (a cursor of get_ad_ranges) and the writes on it. Every
// write runs in a transaction of its own, committed when the portal accepted it and rolled back
// otherwise; the list is re-read after every write, also after a failed one.
class TADBonusRanges : public QObject
{
    Q_OBJECT

public:
    static constexpr char kIdField[] = "AD_RANGES_ID";
    static constexpr char kLeftField[] = "LEFT_RANGE_BORDER";
    static constexpr char kRightField[] = "RIGHT_RANGE_BORDER";
    static constexpr char kPercentField[] = "PERCENT";
    static constexpr char kRangeField[] = "BONUS_RANGE";

    ~TADBonusRanges() override;

    // Adds a range of this kind; returns the portal's result code.
    virtual int InsertRange(int from, int to, double percent) = 0;
    virtual int BonusType() const = 0;
    // "ПРМЕС" or "Поправка", from the catalogue.
    virtual QString KindName() const = 0;

    db::StoredProc* List() const { return mList; }
    db::Session* Session() const { return mSession; }

    // The range dialog, then the write and its message. Edit and delete do nothing on an empty list.
    void AddRange(QWidget* parent);
    void EditRange(QWidget* parent);
    int UpdateRange(const QString& id, int from, int to, double percent);
    // Deletes the current range at once, without asking.
    void DeleteRange();
    // Reads the list again, back on the range that was current when it still exists.
    void RefreshList();

protected:
    TADBonusRanges(db::Session* session, const QString& shema, QObject* parent = nullptr);
    // Opens the list of the kind.
    void OpenList();
    // ins_ad_range with this kind's bonus type.
    int insertOfType(int from, int to, double percent);

private:
    // Runs a writing call in a transaction of its own; the list is re-read whatever happens.
    int write(const std::function<int()>& call);
    void showResult(int code) const;
    QString procName(const char* procedure) const;

    db::Session* mSession;
    QString mShema;
    db::StoredProc* mList = nullptr;
};

// ПРМЕС, bonus type 0.
class TPrMesBonusRanges : public TADBonusRanges
{
    Q_OBJECT

public:
    TPrMesBonusRanges(db::Session* session, const QString& shema, QObject* parent = nullptr);
    int InsertRange(int from, int to, double percent) override;
    int BonusType() const override { return 0; }
    QString KindName() const override;
};

// Поправка, bonus type 1.
class TPopravkaBonusRanges : public TADBonusRanges
{
    Q_OBJECT

public:
    TPopravkaBonusRanges(db::Session* session, const QString& shema, QObject* parent = nullptr);
    int InsertRange(int from, int to, double percent) override;
    int BonusType() const override { return 1; }
    QString KindName() const override;
};
