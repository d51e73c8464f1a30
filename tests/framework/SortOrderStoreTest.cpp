#include "SortOrderStore.h"

#include "Cp1251.h"
#include "FrameworkFiles.h"
#include "PgFixture.h"
#include "Query.h"
#include "RecordingPresenter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The checksum as the Windows console computed it, over a text already in its stored form.
QString windowsChecksum(const QByteArray& bytes)
{
    quint32 sum = 0;
    for (int i = 0; i < bytes.size(); ++i) {
        const unsigned b = static_cast<unsigned char>(bytes[i]);
        const unsigned next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        if (b != 0 || next != 0)
            sum ^= quint32(i + 1) + b;
    }
    return QStringLiteral("%1").arg(sum, 4, 16, QLatin1Char('0')).toUpper();
}

QString windowsChecksum(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + "\r\n";
    return windowsChecksum(lang::toCp1251(text));
}

const QStringList kClientLines = {"SELECT ID, NAME FROM (SELECT 1 AS ID, 'Иванов' AS NAME) v",
                                  "&ORDER &FIELD"};

class SortOrderStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        FrameworkFiles::setFolder(mDir.path());
    }

    QString section(const QString& scope) const
    {
        return scope + "/" + FrameworkFiles::programFileName() + "/OrderBy";
    }
    QString storePath() const { return mDir.filePath("ZadUvazUDU.INI"); }

    // An INI file as the Windows console left it: code page 1251, CR LF.
    void writeStore(const QStringList& lines)
    {
        QFile f(storePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(lang::toCp1251(lines.join("\r\n") + "\r\n"));
    }
    QByteArray storeBytes() const
    {
        QFile f(storePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString storeText() const { return lang::fromCp1251(storeBytes()); }

    // A re-sortable query owned by `owner`, design order ID.
    db::Query* clientsQuery(QObject* owner, db::Session* session = nullptr)
    {
        auto* q = new db::Query(session, owner);
        q->setObjectName("qryClients");
        q->setSql(kClientLines.join("\n"));
        q->setMacro("ORDER", "ORDER BY");
        q->setMacro("FIELD", "ID");
        return q;
    }
    QString clientsKey() const { return "fmClients.qryClients." + windowsChecksum(kClientLines); }

    QTemporaryDir mDir;
};

} // namespace

TEST_F(SortOrderStoreTest, OrderKeyIsTheWindowsChecksumOfTheDesignText)
{
    struct Case
    {
        const char* name;
        QString sql;
        QString checksum;
    };
    const QString nul(QChar(0));
    const QString longText = QString("x").repeated(70000);
    const std::vector<Case> cases = {
        // Worked by hand: 'a' 'b' CR LF give (1+61h) xor (2+62h) xor (3+0Dh) xor (4+0Ah) = 18h.
        {"hand-worked text", "ab", "0018"},
        // Я is DFh in code page 1251: (1+DFh) xor (2+0Dh) xor (3+0Ah) = E2h, upper-case digits.
        {"Cyrillic byte", "Я", "00E2"},
        {"no text at all", "", "0000"},
        {"LF line ends", kClientLines.join("\n"), windowsChecksum(kClientLines)},
        {"CR LF with a final break", kClientLines.join("\r\n") + "\r\n", windowsChecksum(kClientLines)},
        {"CR line ends", kClientLines.join("\r"), windowsChecksum(kClientLines)},
        {"blank line kept", "a\n\nb", windowsChecksum(QStringList{"a", "", "b"})},
        {"two zero bytes", "A" + nul + nul + "B", windowsChecksum(QByteArray("A\0\0B\r\n", 6))},
        {"more than four digits", longText, windowsChecksum(QStringList{longText})},
    };
    QObject owner;
    owner.setObjectName("fmClients");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::Query q(&owner);
        q.setObjectName("qryClients");
        q.setSql(c.sql);
        EXPECT_EQ(QueryOrderKey(q), "fmClients.qryClients." + c.checksum);
    }
    EXPECT_EQ(windowsChecksum(QStringList{longText}).size(), 5);

    // Macro values are no part of the key; a query without an owner has no owner part.
    db::Query alone;
    alone.setObjectName("qryClients");
    alone.setSql(kClientLines.join("\n"));
    const QString before = QueryOrderKey(alone);
    alone.setMacro("FIELD", "NAME DESC");
    EXPECT_EQ(QueryOrderKey(alone), before);
    EXPECT_EQ(before, "qryClients." + windowsChecksum(kClientLines));
}

TEST_F(SortOrderStoreTest, StoreReadsAndWritesTheWindowsLayout)
{
    writeStore({"[WEB1_ORDERBY]", "SAVE=0", "", "[" + section("TEV") + "]",
                "fmclients.QRYCLIENTS.1A2B=NAME DESC", "fmClients.qryClients.1A2B_DEF=ID",
                "dmMain.qryEmpty.0C0C="});

    QString value = "stale";
    EXPECT_TRUE(ReadOrderBy("tev", "fmClients.qryClients.1A2B", value));
    EXPECT_EQ(value, "NAME DESC");
    EXPECT_TRUE(ReadOrderByDef("Tev", "fmClients.qryClients.1A2B", value));
    EXPECT_EQ(value, "ID");
    EXPECT_TRUE(ReadOrderBy("tev", "dmMain.qryEmpty.0C0C", value));
    EXPECT_EQ(value, "");
    value = "stale";
    EXPECT_FALSE(ReadOrderBy("tev", "dmMain.qryMissing.0000", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(ReadOrderBy("unknown", "fmClients.qryClients.1A2B", value));
    EXPECT_FALSE(IsOrderBySaveOn("web1"));
    EXPECT_TRUE(IsOrderBySaveOn("tev"));
    EXPECT_TRUE(IsOrderBySaveOn("unknown"));

    WriteOrderBy("web2", "fmPOS.oquPOSes.00FF", "POS_NAME");
    WriteOrderByDef("web2", "fmPOS.oquPOSes.00FF", "POS_NUMBER");
    DeleteOrderBy("tev", "fmClients.qryClients.1A2B");
    DeleteOrderByDef("tev", "fmClients.qryClients.1A2B");
    EXPECT_FALSE(ReadOrderBy("tev", "fmClients.qryClients.1A2B", value));
    EXPECT_FALSE(ReadOrderByDef("tev", "fmClients.qryClients.1A2B", value));
    const QByteArray bytes = storeBytes();
    EXPECT_TRUE(bytes.contains(("[" + section("WEB2") +
                                "]\r\nfmPOS.oquPOSes.00FF=POS_NAME\r\n"
                                "fmPOS.oquPOSes.00FF_def=POS_NUMBER\r\n")
                                   .toLatin1()))
        << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("[WEB1_ORDERBY]\r\nSAVE=0\r\n"));
    EXPECT_TRUE(bytes.contains("dmMain.qryEmpty.0C0C=\r\n"));
}

TEST_F(SortOrderStoreTest, MissingOrCorruptStoreReadsAsEmpty)
{
    QString value = "stale";
    EXPECT_FALSE(ReadOrderBy("tev", "dmMain.qryX.0000", value));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(IsOrderBySaveOn("tev"));

    QFile f(storePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    static const char garbage[] = "\x00\xff\xfe[\x01\x02=\r\n\x98\x98]]]=[[[\n";
    f.write(QByteArray(garbage, sizeof garbage - 1)); // its length counted, not guessed
    f.close();
    EXPECT_FALSE(ReadOrderBy("tev", "dmMain.qryX.0000", value));
    EXPECT_TRUE(IsOrderBySaveOn("tev"));
    EXPECT_FALSE(ReadOrderByDef("tev", "dmMain.qryX.0000", value));

    db::Query q;
    q.setObjectName("qryX");
    q.setSql("select 1 from dual &ORDER &FIELD");
    q.setMacro("ORDER", "ORDER BY");
    q.setMacro("FIELD", "1");
    RestoreQueryOrder("tev", q);
    EXPECT_EQ(q.macroByName("FIELD").value(), "1");
}

TEST_F(SortOrderStoreTest, RestoreAppliesTheSavedOrderAndRecordsTheDesignOrder)
{
    struct Case
    {
        const char* name;
        QString saved; // null: no saved order
        QString field;
        bool active;
    };
    const std::vector<Case> cases = {
        {"saved order", "NAME DESC", "NAME DESC", true},
        {"empty saved order switches sorting off", "", "", false},
        {"nothing saved", QString(), "ID", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(storePath());
        if (!c.saved.isNull())
            writeStore({"[" + section("WEB1") + "]", clientsKey().toLower() + "=" + c.saved});
        QObject owner;
        owner.setObjectName("fmClients");
        db::Query* q = clientsQuery(&owner);

        RestoreQueryOrder("web1", *q);

        EXPECT_EQ(q->macroByName("FIELD").value(), c.field);
        EXPECT_EQ(q->macroByName("FIELD").isActive(), c.active);
        EXPECT_EQ(q->macroByName("ORDER").isActive(), c.active);
        QString design;
        EXPECT_TRUE(ReadOrderByDef("WEB1", clientsKey(), design));
        EXPECT_EQ(design, "ID");
    }
}

TEST_F(SortOrderStoreTest, QueriesThatCannotBeSortedAreLeftAlone)
{
    struct Case
    {
        const char* name;
        QString sql;
        QString order;
    };
    const std::vector<Case> cases = {
        {"no FIELD macro", "select * from &shema.v_tev_pos &ORDER", "ORDER BY"},
        {"no ORDER macro", "select * from &shema.v_tev_pos order by &FIELD", ""},
        {"ORDER macro of another kind", "select * from &shema.v_tev_pos &ORDER &FIELD", "GROUP BY"},
        {"ORDER macro too short", "select * from &shema.v_tev_pos &ORDER &FIELD", "ORDE"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db::Query q;
        q.setObjectName("oquPOSes");
        q.setSql(c.sql);
        if (!c.order.isEmpty())
            q.setMacro("ORDER", c.order);
        if (q.macros().find("FIELD"))
            q.setMacro("FIELD", "POS_NUMBER");
        writeStore({"[" + section("TEV") + "]", QueryOrderKey(q) + "=POS_NAME"});
        const QByteArray before = storeBytes();
        RestoreQueryOrder("tev", q);
        if (q.macros().find("FIELD")) {
            EXPECT_EQ(q.macroByName("FIELD").value(), "POS_NUMBER");
            q.setMacro("FIELD", "POS_NAME DESC");
        }
        SaveQueryOrder("tev", q);
        EXPECT_EQ(storeBytes(), before);
    }
}

TEST_F(SortOrderStoreTest, SaveKeepsOnlyOrdersThatDifferFromTheDesign)
{
    QObject owner;
    owner.setObjectName("fmClients");
    db::Query* q = clientsQuery(&owner);
    QString value;

    // Changed order: kept.
    RestoreQueryOrder("web1", *q);
    q->setMacro("FIELD", "NAME DESC");
    SaveQueryOrder("web1", *q);
    EXPECT_TRUE(ReadOrderBy("web1", clientsKey(), value));
    EXPECT_EQ(value, "NAME DESC");
    EXPECT_FALSE(ReadOrderByDef("web1", clientsKey(), value));

    // The next run restores it; the user goes back to the design order: the key goes away.
    QObject next;
    next.setObjectName("fmClients");
    db::Query* again = clientsQuery(&next);
    RestoreQueryOrder("web1", *again);
    EXPECT_EQ(again->macroByName("FIELD").value(), "NAME DESC");
    again->setMacro("FIELD", "ID");
    SaveQueryOrder("web1", *again);
    EXPECT_FALSE(ReadOrderBy("web1", clientsKey(), value));
    EXPECT_FALSE(storeText().contains("qryClients"));

    // No recorded design order (never restored): save does nothing.
    again->setMacro("FIELD", "NAME");
    SaveQueryOrder("web1", *again);
    EXPECT_FALSE(ReadOrderBy("web1", clientsKey(), value));
}

TEST_F(SortOrderStoreTest, SecondRestoreKeepsTheFirstDesignOrder)
{
    // The data module restores its queries again after a reconnect; the order restored the first
    // time must not become the design order, or saving would forget it.
    writeStore({"[" + section("TEV") + "]", clientsKey() + "=NAME DESC"});
    QObject owner;
    owner.setObjectName("fmClients");
    db::Query* q = clientsQuery(&owner);
    RestoreQueryOrder("tev", *q);
    RestoreQueryOrder("tev", *q);
    SaveQueryOrder("tev", *q);
    QString value;
    EXPECT_TRUE(ReadOrderBy("tev", clientsKey(), value));
    EXPECT_EQ(value, "NAME DESC");
}

TEST_F(SortOrderStoreTest, SwitchedOffScopeIsNotTouched)
{
    writeStore({"[WEB1_ORDERBY]", "SAVE=0", "[" + section("WEB1") + "]", clientsKey() + "=NAME DESC"});
    const QByteArray before = storeBytes();
    QObject owner;
    owner.setObjectName("fmClients");
    db::Query* q = clientsQuery(&owner);
    RestoreQueryOrder("web1", *q);
    EXPECT_EQ(q->macroByName("FIELD").value(), "ID");
    q->setMacro("FIELD", "NAME");
    SaveQueryOrder("web1", *q);
    EXPECT_EQ(storeBytes(), before);

    // Another scope of the same file still works.
    RestoreQueryOrder("tev", *q);
    EXPECT_TRUE(storeText().contains(section("TEV")));
}

TEST_F(SortOrderStoreTest, ChangedSqlTextOrphansTheSavedOrder)
{
    writeStore({"[" + section("TEV") + "]", clientsKey() + "=NAME DESC"});
    QObject owner;
    owner.setObjectName("fmClients");
    db::Query* q = clientsQuery(&owner);
    q->setSql(kClientLines.join("\n") + " ");
    RestoreQueryOrder("tev", *q);
    EXPECT_EQ(q->macroByName("FIELD").value(), "ID");
    EXPECT_NE(QueryOrderKey(*q), clientsKey());
}

TEST_F(SortOrderStoreTest, SavedOrderIsCheckedAgainstTheQueryFields)
{
    REQUIRE_PG();
    auto session = PgFixture::instance().connect();
    struct Case
    {
        const char* name;
        bool open;
        QString saved;
        QString badItem; // empty: the order is valid
        QString format;
    };
    const std::vector<Case> cases = {
        {"open query, valid order", true, "NAME DESC", "", ""},
        {"open query, several items", true, "NAME desc, ID", "", ""},
        {"closed query asks the server", false, "NAME DESC", "", ""},
        {"open query, unknown field", true, "NOSUCH DESC", "NOSUCH", ""},
        {"closed query, unknown field", false, "ID,WBC_ID", "WBC_ID", ""},
        {"catalogue text", true, "GONE", "GONE", "Неверное поле \"%s\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeStore({"[" + section("TEV") + "]", clientsKey() + "=" + c.saved});
        QObject owner;
        owner.setObjectName("fmClients");
        db::Query* q = clientsQuery(&owner, session.get());
        if (c.open)
            q->open();
        RecordingPresenter boxes;

        RestoreQueryOrder("tev", *q, c.format);

        EXPECT_EQ(q->isOpen(), c.open);
        QString value;
        if (c.badItem.isEmpty()) {
            EXPECT_EQ(boxes.count(), 0);
            EXPECT_EQ(q->macroByName("FIELD").value(), c.saved);
            EXPECT_TRUE(ReadOrderBy("tev", clientsKey(), value));
            if (c.open) {
                EXPECT_EQ(q->recordCount(), 1);
            }
            continue;
        }
        ASSERT_EQ(boxes.count(), 1);
        const QString format =
            c.format.isEmpty() ? "Некорректное поле \"%1\" для сортировки" : "Неверное поле \"%1\"";
        EXPECT_EQ(boxes.last().text,
                  "TBaseForm.NotFindFieldForOrder: " + format.arg("qryClients." + c.badItem));
        EXPECT_EQ(boxes.last().caption, "Ошибка");
        EXPECT_EQ(boxes.last().icon, lang::MsgIcon::Error);
        EXPECT_EQ(q->macroByName("FIELD").value(), "ID");
        EXPECT_TRUE(q->macroByName("FIELD").isActive());
        EXPECT_FALSE(ReadOrderBy("tev", clientsKey(), value));
        // Removed: a second restore shows nothing.
        RestoreQueryOrder("tev", *q);
        EXPECT_EQ(boxes.count(), 1);
    }
    session->rollback();
}

TEST_F(SortOrderStoreTest, OrdersSavedByTheWindowsConsoleAreTakenOver)
{
    // A store copied from a Windows installation: the sections name its program file.
    writeStore({"[TEV/DEDAdize.exe/OrderBy]", "dmMain.qryLogins.1A2B=WBL_LOGIN DESC", "dmMain.qryJournal.0C0C=ID"});
    QString value;
    EXPECT_TRUE(ReadOrderBy("tev", "dmMain.qryLogins.1A2B", value));
    EXPECT_EQ(value, "WBL_LOGIN DESC");

    // Once this console writes or deletes an order it lives in our own section only.
    WriteOrderBy("tev", "dmMain.qryLogins.1A2B", "ID");
    DeleteOrderBy("tev", "dmMain.qryJournal.0C0C");
    EXPECT_TRUE(ReadOrderBy("tev", "dmMain.qryLogins.1A2B", value));
    EXPECT_EQ(value, "ID");
    EXPECT_FALSE(ReadOrderBy("tev", "dmMain.qryJournal.0C0C", value));
    EXPECT_FALSE(storeText().contains("WBL_LOGIN DESC"));
}
