#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace db {

// Replaces every `&name` outside string literals, quoted names and comments by lookup(name).
// A name runs over letters, digits, _, $ and #; lookup receives it as written and should compare
// without regard to letter case. lookup gives the value (empty for an inactive macro), which is
// inserted verbatim and not expanded again, or std::nullopt for an unknown macro, which throws
// db::DbError naming it. A `&` not followed by a name character stays as it is.
QString expandMacros(const QString& sql,
                     const std::function<std::optional<QString>(const QString& name)>& lookup);

// The macro names a text uses, each once (first spelling wins), in order of first use.
QStringList macroNames(const QString& sql);

} // namespace db
