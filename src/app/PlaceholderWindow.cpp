#include "PlaceholderWindow.h"

#include "PortalCodec.h"
#include "Query.h"
#include "Session.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {

class DatasetModel : public QAbstractTableModel
{
public:
    DatasetModel(db::Dataset* ds, QObject* parent) : QAbstractTableModel(parent), mDs(ds)
    {
        for (int c = 0; c < ds->fieldCount(); ++c)
            if (ds->field(c).isVisible())
                mColumns << c;
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : mDs->recordCount(); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(mColumns.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        const db::Field& f = mDs->field(mColumns[index.column()]);
        return f.displayText(mDs->value(index.row(), f.index()));
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        if (role != Qt::DisplayRole || o != Qt::Horizontal)
            return QAbstractTableModel::headerData(section, o, role);
        return mDs->field(mColumns[section]).displayLabel();
    }

private:
    db::Dataset* mDs;
    QList<int> mColumns;
};

} // namespace

PlaceholderWindow::PlaceholderWindow(db::Session* session, const QString& scheme, QWidget* parent)
    : QMainWindow(parent), mEmitents(new db::Query(session, this))
{
    setWindowTitle(QStringLiteral("TEV Web Admin"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    db::Query version(session);
    version.setSql(QStringLiteral("select * from &SHEMA.V_TEV_VERSION_DB t"));
    version.setMacro(QStringLiteral("SHEMA"), scheme);
    version.open();
    auto* title = new QLabel(QStringLiteral("<b>%1</b> — %2@%3, версия схемы %4")
                                 .arg(scheme.toUpper(), session->username(), session->server(),
                                      version.asString(QStringLiteral("VERSION"))),
                             central);
    layout->addWidget(title);

    mEmitents->setSql(QStringLiteral(
        "begin &shema.TEV_UTILS.GET_SELECTED_EMITENT(:P_ALL_EMITENT, :P_MANAGER_ID, :P_EMITENT_LIST); end;"));
    mEmitents->setMacro(QStringLiteral("shema"), scheme);
    mEmitents->setParam(QStringLiteral("P_ALL_EMITENT"), 1);
    mEmitents->paramByName(QStringLiteral("P_MANAGER_ID")).setDataType(db::DataType::Integer);
    mEmitents->paramByName(QStringLiteral("P_EMITENT_LIST")).setDirection(db::ParamDirection::CursorOut);
    mEmitents->addCalculatedField(QStringLiteral("EMITENT_NAME_ANSI"), db::DataType::String,
                                  [](const db::Dataset& ds, int row) {
                                      return QVariant(DecodeUnicodeEscapes(
                                          ds.physicalValue(row, ds.fieldIndex(QStringLiteral("EMITENT_NAME")))
                                              .toString()));
                                  });
    const struct
    {
        const char* name;
        const char* label;
    } shown[] = {{"EMITENT_NUMBER", "Номер"}, {"FILIAL_NUMBER", "Филиал"}, {"EMITENT_NAME_ANSI", "Название"},
                 {"SHARING_FOLDER", "Каталог обмена"}, {"E_MAIL", "Адрес эл. почты"}};
    mEmitents->open();
    for (int c = 0; c < mEmitents->fieldCount(); ++c)
        mEmitents->field(c).setVisible(false);
    for (const auto& s : shown)
        if (db::Field* f = mEmitents->findField(QString::fromLatin1(s.name))) {
            f->setVisible(true);
            f->setDisplayLabel(QString::fromUtf8(s.label));
        }
    session->commit();

    auto* view = new QTableView(central);
    view->setModel(new DatasetModel(mEmitents, view));
    view->horizontalHeader()->setStretchLastSection(true);
    view->resizeColumnsToContents();
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(view);
    setCentralWidget(central);
    statusBar()->showMessage(QStringLiteral("Эмитентов: %1").arg(mEmitents->recordCount()));
    resize(1000, 600);
}
