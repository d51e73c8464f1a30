#include "TfrmShemaForm.h"

#include "ui_TfrmShemaForm.h"

#include "Catalogue.h"
#include "ConnectionSettings.h"
#include "IniFile.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::optional<QString> askName(QWidget* parent, const QString& caption)
{
    QDialog prompt(parent);
    prompt.setObjectName(QString::fromLatin1(TfrmShemaForm::kNamePromptName));
    prompt.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&prompt);
    auto* label = new QLabel(lang::tr(u"rstrName"), &prompt);
    auto* edit = new QLineEdit(&prompt);
    edit->setObjectName(QStringLiteral("edtName"));
    edit->setMaxLength(TfrmShemaForm::kMaxNameLength);
    label->setBuddy(edit);
    auto* buttons = new QDialogButtonBox(&prompt);
    QPushButton* apply = buttons->addButton(lang::tr(u"rstrApply"), QDialogButtonBox::AcceptRole);
    buttons->addButton(lang::tr(u"rstrCancel"), QDialogButtonBox::RejectRole);
    apply->setDefault(true);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &prompt, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &prompt, &QDialog::reject);
    prompt.resize(320, prompt.sizeHint().height());
    if (framework::execModal(prompt) != QDialog::Accepted)
        return std::nullopt;
    return edit->text();
}

} // namespace

TfrmShemaForm::TfrmShemaForm(const QString& iniPath, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmShemaForm>()), mIni(std::make_unique<lang::IniFile>(iniPath))
{
    ui->setupUi(this);
    setWindowTitle(lang::tr(u"vrstrShemesDB"));
    ui->lblActiveSheme->setText(lang::tr(u"vrstrActiveSheme"));
    ui->btnNewSheme->setText(lang::tr(u"vrstrNewSheme"));
    ui->btnActivate->setText(lang::tr(u"vrstr_to_Activate"));
    ui->btnDelete->setText(lang::tr(u"rstrDelete"));
    ui->btnExit->setText(lang::tr(u"rstrExitShort"));

    connect(ui->btnNewSheme, &QPushButton::clicked, this, &TfrmShemaForm::btnNewShemeClick);
    connect(ui->btnActivate, &QPushButton::clicked, this, &TfrmShemaForm::btnActivateClick);
    connect(ui->btnDelete, &QPushButton::clicked, this, &TfrmShemaForm::btnDeleteClick);
    connect(ui->btnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->tvShemes, &QTreeWidget::currentItemChanged, this, &TfrmShemaForm::updateButtons);
    connect(ui->tvShemes, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item && item != mRoot)
            activate(item);
    });

    ui->edtActiveSheme->setText(ActiveScheme());
    fillTree();
}

TfrmShemaForm::~TfrmShemaForm() = default;

QString TfrmShemaForm::Run(const QString& iniPath, QWidget* parent)
{
    TfrmShemaForm form(iniPath, parent);
    framework::execModal(form);
    return form.ActiveScheme();
}

QString TfrmShemaForm::ActiveScheme()
{
    ConnectionSettings settings(*mIni);
    const QString flagged = settings.flaggedScheme();
    if (!flagged.isEmpty())
        return flagged;
    const QString scheme = QString::fromLatin1(kDefaultScheme);
    settings.setActiveScheme(scheme);
    return scheme;
}

void TfrmShemaForm::fillTree()
{
    ui->tvShemes->clear();
    mRoot = new QTreeWidgetItem(ui->tvShemes, {lang::tr(u"vrstrEnableShemes")});
    for (const QString& scheme : ConnectionSettings(*mIni).schemes())
        new QTreeWidgetItem(mRoot, {scheme});
    mRoot->setExpanded(true);
    ui->tvShemes->setCurrentItem(mRoot);
    updateButtons();
}

QTreeWidgetItem* TfrmShemaForm::selectedScheme() const
{
    QTreeWidgetItem* item = ui->tvShemes->currentItem();
    return item && item != mRoot ? item : nullptr;
}

void TfrmShemaForm::updateButtons()
{
    const bool onScheme = selectedScheme() != nullptr;
    ui->btnActivate->setEnabled(onScheme);
    ui->btnDelete->setEnabled(onScheme);
}

void TfrmShemaForm::btnNewShemeClick()
{
    const QString caption = ui->btnNewSheme->text();
    const std::optional<QString> answer = askName(this, caption);
    if (!answer)
        return;
    // Keys are read back trimmed, so the name is stored the way it will be read.
    const QString name = answer->trimmed().left(kMaxNameLength);
    if (name.isEmpty()) {
        lang::ShowMsgBox(this, lang::tr(u"vrstrMandatoryFieldNotFilled") + QLatin1Char(' ') + lang::tr(u"rstrName"), 1);
        return;
    }
    // A name that is there already keeps its flag and its one node.
    for (int i = 0; i < mRoot->childCount(); ++i) {
        if (mRoot->child(i)->text(0).compare(name, Qt::CaseInsensitive) == 0) {
            ui->tvShemes->setCurrentItem(mRoot->child(i));
            return;
        }
    }
    ConnectionSettings(*mIni).addScheme(name);
    auto* item = new QTreeWidgetItem(mRoot, {name});
    mRoot->setExpanded(true);
    ui->tvShemes->setCurrentItem(item);
}

void TfrmShemaForm::btnActivateClick()
{
    if (QTreeWidgetItem* item = selectedScheme())
        activate(item);
}

void TfrmShemaForm::activate(QTreeWidgetItem* item)
{
    const QString scheme = item->text(0);
    ConnectionSettings(*mIni).setActiveScheme(scheme);
    ui->edtActiveSheme->setText(scheme);
    accept();
}

void TfrmShemaForm::btnDeleteClick()
{
    QTreeWidgetItem* item = selectedScheme();
    if (!item)
        return;
    const QString scheme = item->text(0);
    if (!lang::AskYesNo(QLatin1Char('"') + scheme + QLatin1Char('"'), lang::tr(u"rstrDelete")))
        return;
    ConnectionSettings(*mIni).removeScheme(scheme);
    delete item;
    updateButtons();
}
