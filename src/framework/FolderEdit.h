#pragma once

#include "TextSources.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

// A folder name with a button that chooses it (through the modal runner's folder chooser) and one
// that clears it. validate() offers to create a folder that does not exist. Texts come from the
// window's text-source table.
class FolderEdit : public QWidget, public TextSourceClient
{
    Q_OBJECT

public:
    explicit FolderEdit(QWidget* parent = nullptr);

    QString folder() const;
    void setFolder(const QString& folder);
    QLineEdit* edit() const { return mEdit; }
    QToolButton* chooseButton() const { return mChoose; }
    QToolButton* clearButton() const { return mClear; }

    // The chooser starting at the current folder; a chosen folder replaces the text.
    void choose();
    // An empty text or an existing folder passes. A name with control characters is refused with
    // a box; a missing folder is offered for creation ("Создать каталог \"%s\"?"), and a folder that
    // could not be created is reported. Returns whether the folder can be used.
    bool validate();

    // Characters no folder name may hold (control characters).
    static bool hasInvalidCharacters(const QString& name);

    void setTextSources(const TextSources* table) override;

signals:
    void folderChanged(const QString& folder);

private:
    const TextSources& texts() const;

    QLineEdit* mEdit = nullptr;
    QToolButton* mChoose = nullptr;
    QToolButton* mClear = nullptr;
    const TextSources* mTable = nullptr;
};
