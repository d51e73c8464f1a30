#pragma once

#include "Session.h"
#include "TComBaseForm.h"

#include <QDateTime>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class DateRangeSelector;
class QAction;
class QCheckBox;
class QGroupBox;
class QListWidget;
class QRadioButton;
class QStackedWidget;
class QToolBar;
namespace Ui {
class TfmTEVWebReports;
}

// The administrator reports: tick reports, set their parameters and build them; each workbook is
// written to a new file of the reports folder and opened with the desktop's spreadsheet program.
class TfmTEVWebReports : public TComBaseForm
{
    Q_OBJECT

public:
    TfmTEVWebReports(QWidget* owner, const QString& shema, db::Session* session);
    ~TfmTEVWebReports() override;

    // Opens the window modally through the modal seam.
    static void Execute(QWidget* owner, const QString& shema, db::Session* session);

    QAction* action(const QString& name) const;
    QListWidget* reportList() const { return mList; }
    QStackedWidget* pages() const { return mPages; }
    QGroupBox* pageBox(int number) const { return mPageBoxes.at(number); }
    QGroupBox* periodGroup() const { return mPeriodGroup; }
    DateRangeSelector* periodSelector() const { return mPeriod; }
    QRadioButton* stateButton(int choice) const { return mStates.at(choice); }
    QCheckBox* groupByClient() const { return mGroup; }

    bool isChecked(int number) const;
    void setChecked(int number, bool on);
    // Titles of the reports of the last run that found no rows, and the files the run wrote.
    const QStringList& reportsWithoutData() const { return mWithoutData; }
    const QStringList& producedFiles() const { return mFiles; }

    void actShowReportExecute();

protected:
    void FormCreate() override;
    void SetupCaptions() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct ActionRow
    {
        const char* name;
        const char16_t* captionKey;
        const char* shortcut;
        void (TfmTEVWebReports::*handler)();
    };
    static const std::vector<ActionRow>& actionRows();

    void selectReport(int number);
    void checkAll();
    void uncheckAll();
    void revertAll();
    void closeWindow();
    void showWithoutData();

    std::unique_ptr<Ui::TfmTEVWebReports> ui;
    QString mShema;
    QPointer<db::Session> mSession;
    QToolBar* mToolBar = nullptr;
    QWidget* mBody = nullptr;
    QListWidget* mList = nullptr;
    QStackedWidget* mPages = nullptr;
    QList<QGroupBox*> mPageBoxes;
    QList<QRadioButton*> mStates;
    QGroupBox* mStateBox = nullptr;
    QCheckBox* mGroup = nullptr;
    QGroupBox* mPeriodGroup = nullptr;
    DateRangeSelector* mPeriod = nullptr;
    QStringList mWithoutData;
    QStringList mFiles;
};
