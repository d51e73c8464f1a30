#pragma once

#include <stdexcept>

namespace db {

// The access layer's own failures (bad filter text, missing macro, parameter or field), as
// opposed to OraError, which comes from the database.
class DbError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace db
