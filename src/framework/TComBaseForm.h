#pragma once

#include "TextSources.h"

#include <QDialog>
#include <QLocale>
#include <memory>

class QVBoxLayout;

// Common base of the console's data windows and designed dialogs: the text-source table of the
// composite controls and the locale formats of the date and time editors.
//
// The window's controls go into ClientPanel() (a derived window puts its .ui layout there:
// ui->setupUi(ClientPanel())); the bases below add their button panels under it. Creation is
// completed by ensureCreated(), which runs on its own before the window is first shown; a window
// whose constructor needs it done may call it at its end, provided no class derives from it
// further.
class TComBaseForm : public QDialog
{
    Q_OBJECT

public:
    explicit TComBaseForm(QWidget* owner = nullptr);
    ~TComBaseForm() override;

    void ensureCreated();
    bool isCreated() const { return mCreated; }
    // Set while the window is being closed.
    bool isClosing() const { return mClosing; }

    TextSources& textSources() { return *mTextSources; }
    const TextSources& textSources() const { return *mTextSources; }
    // Hands the table to every composite control of the window (they re-read their texts).
    void bindTextSources();

    QWidget* ClientPanel() const { return mClientPanel; }

    // The format a date or time editor takes: the locale's short date format when the upper-cased
    // design format has no "H", else its time format when it has no "D", else its date-and-time
    // format.
    static QString localeEditorFormat(const QString& designFormat, const QLocale& locale = QLocale());
    // Gives every date and time editor of the window its locale format.
    void applyLocaleFormats();

protected:
    // The whole of creation; the default: locale formats, text sources, FormCreate, SetupImages,
    // SetupCaptions.
    virtual void DoCreate();
    // The window's own creation handler.
    virtual void FormCreate() {}
    // Each time the window is shown, after creation.
    virtual void FormShow() {}
    // Button images.
    virtual void SetupImages() {}
    // Captions and hints; the base binds the text-source table.
    virtual void SetupCaptions();

    void setClosing(bool on) { mClosing = on; }
    QVBoxLayout* windowLayout() const { return mLayout; }

    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<TextSources> mTextSources;
    QVBoxLayout* mLayout = nullptr;
    QWidget* mClientPanel = nullptr;
    bool mCreated = false;
    bool mCreating = false;
    bool mClosing = false;
};
