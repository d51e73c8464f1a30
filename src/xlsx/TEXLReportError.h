#pragma once

#include <QString>
#include <stdexcept>

namespace xlsx {

// Whatever stops a report from being written: the template, the bands, the data or the file.
class TEXLReportError : public std::runtime_error
{
public:
    explicit TEXLReportError(const QString& message)
        : std::runtime_error(message.toStdString()), mMessage(message)
    {
    }
    const QString& message() const { return mMessage; }

private:
    QString mMessage;
};

} // namespace xlsx
