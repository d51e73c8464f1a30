#include "TLetter.h"

#include "Catalogue.h"

const QString TLetter::DefaultErrorFormat = QStringLiteral("Error: %1s");
const QString TLetter::DefaultSentFormat = QStringLiteral("The message has been sent to \"%s\".");

TLetter::TLetter() : ErrorFormat(DefaultErrorFormat), SentFormat(DefaultSentFormat) {}

TLetter::~TLetter() = default;

void TLetter::DoError()
{
    log(lang::format(ErrorFormat, {ErrorText}));
}

void TLetter::DoSent()
{
    log(lang::format(SentFormat, {Recipient}));
}

void TLetter::log(const QString& line) const
{
    if (OnLog)
        OnLog(line);
}
