#pragma once

#include <QString>
#include <exception>

// The text a window shows for a failed portal call: an Oracle-style error's own message, else
// what the exception says.
QString ErrorText(const std::exception& error);
