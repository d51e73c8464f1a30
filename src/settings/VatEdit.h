#pragma once

#include <QLineEdit>

// The VAT field: digits and Backspace as typed, a comma, full stop or minus becomes the decimal
// separator, every other key is dropped; nothing can be pasted or dropped into it, so the text is
// always something typed here.
class VatEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit VatEdit(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The middle button pastes the selection elsewhere: not here.
    void mouseReleaseEvent(QMouseEvent* event) override;
};
