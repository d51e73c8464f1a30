#pragma once

#include <QMainWindow>

namespace db {
class Session;
class Query;
} // namespace db

// The window shown after sign-in until the console's own main window exists: the portal's
// version and its emitents, read through the access layer.
class PlaceholderWindow : public QMainWindow
{
    Q_OBJECT

public:
    PlaceholderWindow(db::Session* session, const QString& scheme, QWidget* parent = nullptr);

private:
    db::Query* mEmitents;
};
