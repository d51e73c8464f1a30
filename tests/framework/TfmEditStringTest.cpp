#include "TfmEditString.h"

#include "Catalogue.h"
#include "MessageDialogs.h"
#include "PortalCodec.h"
#include "TDesignForm.h"
#include "WindowTestSupport.h"

#include <QLineEdit>
#include <QPushButton>

TEST(TfmEditString, EditStringDialogDecodesOnEntryAndEncodesOnOk)
{
    WindowRunner runner;
    QString text = QStringLiteral("Groupe \\u0100lpha");
    runner.answer = answerAs<TfmEditString>([](TfmEditString& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Название группы"));
        EXPECT_EQ(d.OkBtn()->text(), lang::tr(u"rstrApply"));
        EXPECT_EQ(d.CancelBtn()->text(), lang::tr(u"rstrCanceling"));
        EXPECT_EQ(d.text(), QStringLiteral("Groupe Ālpha"));
        EXPECT_EQ(d.edtText()->maxLength(), 20);
        EXPECT_TRUE(d.OkBtn()->isEnabled());
        d.edtText()->setText(QStringLiteral("Ōmega и ещё"));
        d.OkBtn()->click();
        return d.result();
    });
    EXPECT_EQ(EditStringDialog(QStringLiteral("Название группы"), 20, text), lang::mrOk);
    EXPECT_EQ(runner.dialogs, QStringList{"TfmEditString"});
    EXPECT_EQ(text, EncodeUnicodeEscapes(QStringLiteral("Ōmega и ещё")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("\\u014C")));

    // Cancel leaves the text as it was.
    runner.answer = [](QDialog&) { return int(QDialog::Rejected); };
    const QString before = text;
    EXPECT_EQ(EditStringDialog("x", 20, text), lang::mrCancel);
    EXPECT_EQ(text, before);
}

TEST(TfmEditString, OkOnlyForANonBlankEntry)
{
    TfmEditString dialog;
    dialog.ensureCreated();
    struct Case
    {
        const char* entry;
        bool enabled;
    } cases[] = {{"", false}, {"   ", false}, {" a ", true}, {"\t", false}, {"б", true}};
    for (const Case& c : cases) {
        dialog.setText(QString::fromUtf8(c.entry));
        EXPECT_EQ(dialog.OkBtn()->isEnabled(), c.enabled) << c.entry;
    }
    // Nor does accepting by other means get past a blank entry.
    dialog.setText("  ");
    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    dialog.setText("x");
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    dialog.setMaxLength(0);
    EXPECT_EQ(dialog.edtText()->maxLength(), 32767);
}

TEST(TDesignForm, FixedButtons)
{
    TDesignForm form;
    form.ensureCreated();
    EXPECT_EQ(form.OkBtn()->text(), QStringLiteral("Применить"));
    EXPECT_EQ(form.CancelBtn()->text(), QStringLiteral("Отменить"));
    form.show();
    form.CancelBtn()->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    form.show();
    form.OkBtn()->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
}
