#include "FolderEdit.h"

#include "Catalogue.h"
#include "MessageDialogs.h"
#include "ModalRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

FolderEdit::FolderEdit(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    mEdit = new QLineEdit(this);
    mEdit->setObjectName(QStringLiteral("edtFolder"));
    mChoose = new QToolButton(this);
    mChoose->setObjectName(QStringLiteral("btnChoose"));
    mChoose->setText(QStringLiteral("..."));
    mClear = new QToolButton(this);
    mClear->setObjectName(QStringLiteral("btnClear"));
    mClear->setText(QStringLiteral("x"));
    layout->addWidget(mEdit, 1);
    layout->addWidget(mChoose);
    layout->addWidget(mClear);
    connect(mChoose, &QToolButton::clicked, this, &FolderEdit::choose);
    connect(mClear, &QToolButton::clicked, this, [this] { setFolder(QString()); });
    connect(mEdit, &QLineEdit::textChanged, this, &FolderEdit::folderChanged);
    setTextSources(nullptr);
}

const TextSources& FolderEdit::texts() const
{
    return mTable ? *mTable : TextSources::of(this);
}

void FolderEdit::setTextSources(const TextSources* table)
{
    mTable = table;
    const TextSources& t = table ? *table : TextSources::defaults();
    mChoose->setToolTip(t.text(TextSources::ChooseFolder));
    mClear->setToolTip(t.text(TextSources::Clear));
}

QString FolderEdit::folder() const
{
    return mEdit->text().trimmed();
}

void FolderEdit::setFolder(const QString& folder)
{
    mEdit->setText(folder);
}

void FolderEdit::choose()
{
    const QString chosen = framework::modalRunner().existingDirectory(
        window(), texts().text(TextSources::ChooseFolderTitle), folder());
    if (!chosen.isEmpty())
        setFolder(QDir::toNativeSeparators(chosen));
}

bool FolderEdit::hasInvalidCharacters(const QString& name)
{
    for (QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return true;
    return false;
}

bool FolderEdit::validate()
{
    const QString name = folder();
    if (name.isEmpty())
        return true;
    const TextSources& t = texts();
    if (hasInvalidCharacters(name)) {
        lang::ShowMsgBoxCaption(window(), t.text(TextSources::InvalidCharactersInName),
                                t.text(TextSources::InvalidCharacters), 1);
        return false;
    }
    if (QFileInfo(name).isDir())
        return true;
    if (!lang::AskYesNo(lang::format(t.text(TextSources::CreateFolderQuestion), {name}),
                        t.text(TextSources::FolderMissingTitle)))
        return false;
    if (QDir().mkpath(name) && QFileInfo(name).isDir())
        return true;
    lang::ShowMsgBoxCaption(window(),
                            lang::format(t.text(TextSources::FolderNotCreated), {name}) +
                                QStringLiteral("\r\n") + t.text(TextSources::CheckName),
                            t.text(TextSources::FolderMissingTitle), 1);
    return false;
}
