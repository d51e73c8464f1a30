#include "AboutDialog.h"

#include "ui_AboutDialog.h"

#include <QApplication>
#include <QIcon>
#include <QPushButton>

namespace {

constexpr int kRussian = 25;
constexpr char kVersion[] = TEV_VERSION;

} // namespace

AboutDialog::AboutDialog(int languageId, QWidget* owner)
    : QDialog(owner), ui(std::make_unique<Ui::AboutDialog>()), mLanguageId(languageId)
{
    ui->setupUi(this);
    const bool russian = languageId == kRussian;
    setWindowTitle(russian ? QStringLiteral("О программе") : QStringLiteral("About"));
    ui->lblProduct->setText(russian ? QStringLiteral("TEV Web Администратор")
                                    : QStringLiteral("TEV Web Admin"));
    QFont big = ui->lblProduct->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    ui->lblProduct->setFont(big);
    ui->lblVersion->setText((russian ? QStringLiteral("Версия %1") : QStringLiteral("Version %1"))
                                .arg(QString::fromLatin1(kVersion)));
    ui->lblDescription->setText(russian
                                    ? QStringLiteral("Консоль администратора web-портала топливных карт")
                                    : QStringLiteral("Administrator console of the fuel-card web portal"));
    ui->lblPlatform->setText(QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())));
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull())
        ui->lblIcon->setPixmap(icon.pixmap(64, 64));
    ui->lblIcon->setVisible(!icon.isNull());
    connect(ui->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

AboutDialog::~AboutDialog() = default;

QString AboutDialog::productText() const
{
    return ui->lblProduct->text();
}

QString AboutDialog::versionText() const
{
    return ui->lblVersion->text();
}
