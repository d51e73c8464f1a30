#pragma once

#include <QString>

// This computer's name as the console records it (service hosts in the portal settings): the short
// host name, upper-cased; empty when it cannot be read.
QString ComputerName();
// The same rule for a given host name ("build-7.example.org" gives "BUILD-7").
QString ComputerNameFromHostName(const QString& hostName);
