#pragma once

#include <QString>
#include <stdexcept>

namespace db {

// A database failure with its Oracle error number; windows test the number, not the text.
class OraError : public std::runtime_error
{
public:
    OraError(int code, const QString& message);

    int code() const { return mCode; }
    const QString& message() const { return mMessage; }
    // The error hook of the session may replace both.
    void setCode(int code) { mCode = code; }
    void setMessage(const QString& message);
    const char* what() const noexcept override { return mWhat.c_str(); }

    // "ORA-00942: text" unless the text already carries its number.
    static QString formatMessage(int code, const QString& text);

private:
    int mCode;
    QString mMessage;
    std::string mWhat;
};

// Thrown by a before-connect hook to abandon the attempt without any message.
class Abort : public std::exception
{
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

} // namespace db
