#include "DBGrid.h"
#include "DateRangeSelector.h"
#include "FolderEdit.h"
#include "GridTestDataset.h"
#include "QuickSearch.h"
#include "RecordNavigator.h"
#include "RecordingPresenter.h"
#include "TComBaseForm.h"
#include "TextSources.h"
#include "WindowTestSupport.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QVBoxLayout>

using db::DataType;
using Step = DateRangeSelector::Step;

namespace {

QDateTime at(const char* text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
}

} // namespace

TEST(DateRangeSelector, StepsByDayMonthQuarterAndYear)
{
    struct Case
    {
        const char* name;
        const char* begin;
        const char* end;
        Step step;
        int count;
        const char* newBegin;
        const char* newEnd;
    } cases[] = {
        {"whole day forward", "2024-02-28T00:00:00.000", "2024-02-28T23:59:59.999", Step::Day, 1,
         "2024-02-29T00:00:00.000", "2024-02-29T23:59:59.999"},
        {"whole month forward ends on its own last day", "2024-01-01T00:00:00.000", "2024-01-31T23:59:59.999",
         Step::Month, 1, "2024-02-01T00:00:00.000", "2024-02-29T23:59:59.999"},
        {"whole month back", "2024-03-01T00:00:00.000", "2024-03-31T23:59:59.999", Step::Month, -1,
         "2024-02-01T00:00:00.000", "2024-02-29T23:59:59.999"},
        {"whole month to the second", "2024-04-01T00:00:00.000", "2024-04-30T23:59:59.000", Step::Month, 1,
         "2024-05-01T00:00:00.000", "2024-05-31T23:59:59.000"},
        {"two whole months", "2024-01-01T00:00:00.000", "2024-02-29T23:59:59.999", Step::Month, 1,
         "2024-02-01T00:00:00.000", "2024-03-31T23:59:59.999"},
        {"whole quarter", "2024-01-01T00:00:00.000", "2024-03-31T23:59:59.999", Step::Quarter, 1,
         "2024-04-01T00:00:00.000", "2024-06-30T23:59:59.999"},
        {"whole year back", "2024-01-01T00:00:00.000", "2024-12-31T23:59:59.999", Step::Year, -1,
         "2023-01-01T00:00:00.000", "2023-12-31T23:59:59.999"},
        {"free period by a month", "2024-01-15T10:00:00.000", "2024-01-31T12:00:00.000", Step::Month, 1,
         "2024-02-15T10:00:00.000", "2024-02-29T12:00:00.000"},
        {"free period by a quarter", "2023-11-30T08:30:00.000", "2023-12-05T08:30:00.000", Step::Quarter, 1,
         "2024-02-29T08:30:00.000", "2024-03-05T08:30:00.000"},
        {"free period by days", "2024-01-15T10:00:00.000", "2024-01-16T10:00:00.000", Step::Day, -3,
         "2024-01-12T10:00:00.000", "2024-01-13T10:00:00.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [b, e] = DateRangeSelector::stepped(at(c.begin), at(c.end), c.step, c.count);
        EXPECT_EQ(b, at(c.newBegin)) << b.toString(Qt::ISODateWithMs).toStdString();
        EXPECT_EQ(e, at(c.newEnd)) << e.toString(Qt::ISODateWithMs).toStdString();
    }

    const auto [qb, qe] = DateRangeSelector::wholeUnit(QDate(2024, 8, 17), Step::Quarter);
    EXPECT_EQ(qb, at("2024-07-01T00:00:00.000"));
    EXPECT_EQ(qe, at("2024-09-30T23:59:59.999"));

    // The control steps with its buttons and says so.
    DateRangeSelector selector;
    selector.setPeriod(at("2024-01-01T00:00:00.000"), at("2024-01-31T23:59:59.999"));
    selector.setStep(Step::Month);
    QList<QDateTime> ends;
    QObject::connect(&selector, &DateRangeSelector::periodChanged,
                     [&](const QDateTime&, const QDateTime& end) { ends << end; });
    selector.findChild<QToolButton*>("btnForward")->click();
    EXPECT_EQ(selector.begin(), at("2024-02-01T00:00:00.000"));
    EXPECT_EQ(selector.end(), at("2024-02-29T23:59:59.999"));
    selector.findChild<QToolButton*>("btnBack")->click();
    EXPECT_EQ(selector.end(), at("2024-01-31T23:59:59.999"));
    EXPECT_EQ(ends.size(), 2);
    EXPECT_EQ(selector.beginEdit()->date(), QDate(2024, 1, 1));
}

TEST(TextSources, WindowsTableReachesItsControls)
{
    const TextSources& defaults = TextSources::defaults();
    EXPECT_EQ(defaults.text(98), "16711680");
    EXPECT_EQ(TextSources::colorOf(defaults.text(98)), QColor(Qt::blue));
    EXPECT_EQ(defaults.text(103), QStringLiteral("Создать каталог \"%s\"?"));
    EXPECT_EQ(defaults.text(145), QStringLiteral("Квартал"));
    EXPECT_EQ(defaults.ids().size(), 46);

    // A window's controls take its table; replaced entries reach them when it hands it out again.
    TComBaseForm form;
    auto* layout = new QVBoxLayout(form.ClientPanel());
    auto* selector = new DateRangeSelector(form.ClientPanel());
    layout->addWidget(selector);
    form.ensureCreated();
    EXPECT_EQ(selector->stepText(Step::Day), QStringLiteral("День"));
    EXPECT_EQ(&TextSources::of(selector), &form.textSources());
    form.textSources().setText(TextSources::Day, "Day");
    form.textSources().setText(TextSources::Quarter, "Quarter");
    form.bindTextSources();
    EXPECT_EQ(selector->stepText(Step::Day), "Day");
    EXPECT_EQ(selector->stepText(Step::Quarter), "Quarter");
    EXPECT_EQ(selector->stepText(Step::Year), QStringLiteral("Год"));
    QWidget loose;
    EXPECT_EQ(&TextSources::of(&loose), &TextSources::defaults());
}

TEST(TComBaseForm, LocaleFormatsOfDateEditors)
{
    const QLocale ru(QLocale::Russian, QLocale::Russia);
    const QString date = ru.dateFormat(QLocale::ShortFormat);
    struct Case
    {
        const char* design;
        bool date, time;
    } cases[] = {{"dd.MM.yyyy", true, false},
                 {"HH:mm", false, true},
                 {"hh:mm:ss", false, true},
                 {"dd.MM.yyyy HH:mm", true, true},
                 {"", true, false}};
    for (const Case& c : cases) {
        const QString f = TComBaseForm::localeEditorFormat(c.design, ru);
        EXPECT_EQ(f.startsWith(date), c.date) << c.design << " -> " << f.toStdString();
        EXPECT_EQ(f.contains(QLatin1Char('m')), c.time) << c.design << " -> " << f.toStdString();
        EXPECT_FALSE(f.contains(QLatin1Char('t'))) << f.toStdString();
    }
}

TEST(FolderEdit, ChoosesAndOffersToCreateAMissingFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FolderEdit edit;
    WindowRunner runner;
    runner.folder = dir.path();
    edit.setFolder("/start/here");
    edit.chooseButton()->click();
    EXPECT_EQ(runner.captions, QStringList{QStringLiteral("Выбор каталога")});
    EXPECT_EQ(runner.starts, QStringList{"/start/here"});
    EXPECT_EQ(edit.folder(), dir.path());
    EXPECT_TRUE(edit.validate());

    const QString missing = dir.filePath("reports/2024");
    edit.setFolder(missing);
    {
        RecordingPresenter presenter({lang::mrNo});
        EXPECT_FALSE(edit.validate());
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_EQ(presenter.last().text, QStringLiteral("Создать каталог \"%1\"?").arg(missing));
        EXPECT_EQ(presenter.last().caption, QStringLiteral("Несуществующий каталог"));
        EXPECT_FALSE(QDir(missing).exists());
    }
    {
        RecordingPresenter presenter({lang::mrYes});
        EXPECT_TRUE(edit.validate());
        EXPECT_TRUE(QDir(missing).exists());
    }
    {
        RecordingPresenter presenter;
        edit.setFolder(QStringLiteral("bad\tname"));
        EXPECT_FALSE(edit.validate());
        ASSERT_EQ(presenter.count(), 1);
        EXPECT_EQ(presenter.last().text, QStringLiteral("Некорректные символы в названии"));
    }
    edit.clearButton()->click();
    EXPECT_TRUE(edit.folder().isEmpty());
    EXPECT_TRUE(edit.validate());
}

TEST(QuickSearch, FindsByTheStartOfTheChosenField)
{
    GridTestDataset ds({{"ID", DataType::Integer}, {"NAME", DataType::String}},
                       {{QString("1"), QString("Иванов")},
                        {QString("2"), QString("Петров")},
                        {QString("3"), QString("Петренко")}});
    ds.defineField("NAME").setDisplayLabel(QStringLiteral("Фамилия"));
    ds.open();
    DBGrid grid;
    grid.setDataset(&ds);
    QuickSearch search;
    search.setGrid(&grid);
    RecordingPresenter presenter;

    search.setFieldName("NAME");
    search.setSearchText(QStringLiteral("пет"));
    EXPECT_EQ(ds.currentRow(), 1);
    EXPECT_TRUE(search.search(true));
    EXPECT_EQ(ds.currentRow(), 2);
    EXPECT_FALSE(search.search(true));
    search.setSearchText(QStringLiteral("сид"));
    EXPECT_EQ(ds.currentRow(), 2);
    EXPECT_EQ(presenter.count(), 0);

    search.setFieldName(QString());
    EXPECT_FALSE(search.search());
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.last().text, QStringLiteral("Не выбрано поле для поиска"));
}

TEST(RecordNavigator, ButtonsFollowTheDataset)
{
    GridTestDataset ds({{"ID", DataType::Integer}}, {{QString("1")}, {QString("2")}, {QString("3")}});
    RecordNavigator nav;
    nav.setDataset(&ds);
    EXPECT_FALSE(nav.button(RecordNavigator::nbRefresh)->isEnabled());
    EXPECT_EQ(nav.visibleButtons(),
              (QList<RecordNavigator::Button>{RecordNavigator::nbFirst, RecordNavigator::nbPrior,
                                              RecordNavigator::nbNext, RecordNavigator::nbLast,
                                              RecordNavigator::nbRefresh}));
    ds.open();
    EXPECT_FALSE(nav.button(RecordNavigator::nbPrior)->isEnabled());
    EXPECT_TRUE(nav.button(RecordNavigator::nbNext)->isEnabled());
    nav.click(RecordNavigator::nbLast);
    EXPECT_EQ(ds.currentRow(), 2);
    EXPECT_FALSE(nav.button(RecordNavigator::nbNext)->isEnabled());
    EXPECT_TRUE(nav.button(RecordNavigator::nbFirst)->isEnabled());
    nav.click(RecordNavigator::nbPrior);
    EXPECT_EQ(ds.currentRow(), 1);

    // Deleting is only asked for.
    int asked = 0;
    QObject::connect(&nav, &RecordNavigator::deleteRequested, [&] { ++asked; });
    nav.click(RecordNavigator::nbDelete);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ds.recordCount(), 3);

    nav.setHints({"a", "b"});
    EXPECT_EQ(nav.button(RecordNavigator::nbPrior)->toolTip(), "b");
    nav.setShowHints(false);
    EXPECT_TRUE(nav.button(RecordNavigator::nbPrior)->toolTip().isEmpty());
    EXPECT_EQ(nav.hint(RecordNavigator::nbPrior), "b");
}
