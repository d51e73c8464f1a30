#include "OraError.h"
#include "PortalCodec.h"
#include "ReferenceQueries.h"
#include "ReferenceTestSupport.h"
#include "ReferenceWindows.h"
#include "ScriptedModalRunner.h"
#include "TfmEditString.h"
#include "TfmSchemesForWeb.h"
#include "TfmTermsForWeb.h"
#include "TfmTransactionGroups.h"

#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using S = ReferenceQueries::Schemes;

namespace {

QString setting(const char* name)
{
    return adminValue(QStringLiteral("SELECT param_val FROM tev.tev_configs WHERE param_name = '%1'")
                          .arg(QString::fromLatin1(name)));
}

// An empty value is a setting the portal does not have.
void storeSetting(const char* name, const QString& value)
{
    const QString key = QString::fromLatin1(name);
    adminValue(QStringLiteral("DELETE FROM tev.tev_configs WHERE param_name = '%1'").arg(key));
    if (!value.isEmpty())
        adminValue(QStringLiteral("INSERT INTO tev.tev_configs (param_name, param_val) VALUES ('%1', '%2')")
                       .arg(key, value));
}

} // namespace

TEST(TfmWebNamesTest, SettingSwitchesAreReadAndWrittenBackHoweverTheWindowCloses)
{
    REQUIRE_PG();
    SignedInModule m;
    struct Row
    {
        const char* name;
        const char* stored;
        bool shown;
        bool clear; // the administrator clears the box
        const char* written;
    };
    const Row rows[] = {{"one", "1", true, false, "1"},
                        {"blank and one", " 1", true, false, "1"},
                        {"leading zero", "01", true, false, "1"},
                        {"missing", "", false, false, "0"},
                        {"cleared", "1", true, true, "0"}};
    const std::pair<const char*, void (*)(QWidget*, TdmMain&)> windows[] = {
        {reference::kUseSchemeForWeb, &reference::ShowSchemesForWeb},
        {reference::kUseTermsForWeb, &reference::ShowTermsForWeb},
        {reference::kUseTrnTypeGroup, &reference::ShowTransactionGroups}};
    for (const auto& [key, show] : windows) {
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(key) + ": " + r.name);
            storeSetting(key, QString::fromLatin1(r.stored));
            ScriptedModalRunner runner;
            bool shown = false;
            runner.answer = [&](QDialog& d) {
                auto* box = d.findChild<QCheckBox*>(QStringLiteral("chkUseInWeb"));
                shown = box && box->isChecked();
                if (box && r.clear)
                    box->setChecked(false);
                return int(QDialog::Rejected);
            };
            show(nullptr, *m.dm);
            EXPECT_EQ(shown, r.shown);
            EXPECT_EQ(setting(key), QString::fromLatin1(r.written));
        }
    }
}

TEST(TfmWebNamesTest, SchemesFollowTheWebLanguageBackToTheSameScheme)
{
    REQUIRE_PG();
    SignedInModule m;
    TfmSchemesForWeb w(nullptr, m.dm->ActiveScheme(), m.dm->session(), 25);
    w.ensureCreated();
    w.show();
    db::Query* q = w.list();
    EXPECT_EQ(w.webLanguageId(), 25);
    ASSERT_TRUE(q->locate(QStringLiteral("SCHEMA_NUMBER;SCHEMA_TYPE"), QVariantList{1, 1}));
    w.selectWebLanguage(9);
    EXPECT_EQ(q->asInteger(QString::fromLatin1(S::kNumber)), 1);
    EXPECT_EQ(q->asInteger(QString::fromLatin1(S::kType)), 1);
    EXPECT_EQ(q->asString(QString::fromLatin1(S::kNameShown)), QStringLiteral("Fuel coupons"));
    const int english = q->recordCount();

    // Scheme 5 has no Greek name: not listed.
    w.selectWebLanguage(8);
    EXPECT_EQ(q->recordCount(), english - 1);
    EXPECT_FALSE(q->locate(QString::fromLatin1(S::kNumber), 5));
    EXPECT_EQ(q->asInteger(QString::fromLatin1(S::kType)), 1);

    // A full-length Greek name passes the portal's length check (it counts characters, not escapes).
    ASSERT_TRUE(q->locate(QStringLiteral("SCHEMA_NUMBER;SCHEMA_TYPE"), QVariantList{2, 0}));
    const QString greek = QString(60, QChar(0x03C3));
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfmEditString>([&](TfmEditString& d) {
        d.edtText()->setText(greek);
        return int(QDialog::Accepted);
    });
    w.acEditExecute();
    EXPECT_EQ(adminValue("SELECT phrase FROM tev.tev_phrases WHERE type_id = 2 AND id = 2 AND lang_id = 8"),
              EncodeUnicodeEscapes(greek.left(TfmSchemesForWeb::kMaxNameLength)));
    EXPECT_EQ(q->asInteger(QString::fromLatin1(S::kNumber)), 2);
    EXPECT_EQ(q->asString(QString::fromLatin1(S::kNameShown)), greek.left(TfmSchemesForWeb::kMaxNameLength));
    w.close();
}

TEST(TfmWebNamesTest, TermsTakeFullLengthNames)
{
    REQUIRE_PG();
    SignedInModule m;
    TfmTermsForWeb w(nullptr, m.dm->ActiveScheme(), m.dm->session(), 25);
    w.ensureCreated();
    w.show();
    db::Query* q = w.list();
    ASSERT_FALSE(q->isEmpty());
    q->last();
    const QString id = q->asString(QString::fromLatin1(ReferenceQueries::Terms::kId));
    const QString greek = QString(255, QChar(0x03C4));
    ScriptedModalRunner runner;
    runner.answer = answerDialog<TfmEditString>([&](TfmEditString& d) {
        d.edtText()->setText(greek);
        return int(QDialog::Accepted);
    });
    w.acEditExecute();
    EXPECT_EQ(
        adminValue("SELECT phrase FROM tev.tev_phrases WHERE type_id = 1 AND lang_id = 25 AND id = " + id),
        EncodeUnicodeEscapes(greek));
    EXPECT_EQ(q->asString(QString::fromLatin1(ReferenceQueries::Terms::kId)), id);
    w.close();
}
