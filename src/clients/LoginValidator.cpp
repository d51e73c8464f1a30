#include "LoginValidator.h"

LoginValidator::LoginValidator(QObject* parent) : QValidator(parent) {}

bool LoginValidator::Accepts(QChar c)
{
    return c.unicode() > 32 && c.unicode() < 127;
}

QString LoginValidator::Filtered(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (Accepts(c))
            out.append(c);
    return out;
}

QValidator::State LoginValidator::validate(QString& input, int& pos) const
{
    int dropped = 0;
    for (int i = 0; i < pos && i < input.size(); ++i)
        if (!Accepts(input.at(i)))
            ++dropped;
    input = Filtered(input);
    pos = qMax(0, pos - dropped);
    return Acceptable;
}
