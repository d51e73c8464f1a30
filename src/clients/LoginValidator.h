#pragma once

#include <QValidator>

// Login fields take only visible 7-bit characters: a blank, a Cyrillic letter or anything else
// outside ASCII is dropped, whether typed or pasted.
class LoginValidator : public QValidator
{
    Q_OBJECT

public:
    explicit LoginValidator(QObject* parent = nullptr);

    State validate(QString& input, int& pos) const override;

    // The text with every refused character dropped.
    static QString Filtered(const QString& text);
    static bool Accepts(QChar c);
};
