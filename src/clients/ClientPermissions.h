#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// What a client may do on the portal, as the properties and bulk edit windows offer it: one
// check box per permission, gated by a portal setting, hidden for restricted clients.
namespace ClientPermissions {

enum Permission
{
    CreateDR,
    CreateDD,
    CreateOIL,
    ChOnlParams,
    ChangeHolder,
    LostCard,
    UnblockCard,
    UseAPI,
    SubscribeSMS,
    UpdateEmail,
    TestClient,
    Count
};

struct Row
{
    const char* checkBox;    // object name of the window's box
    const char16_t* caption; // catalogue key; null: fixed text
    const char* fixedCaption;
    const char* column;  // clients query column
    const char* setting; // portal setting that enables it; null: none
};
// In the order of Permission.
const Row& row(Permission p);

// The portal's switches of the permissions, read once.
struct Settings
{
    bool enabled[Count] = {};
};
// Reads every setting with `lookup` (an integer value of 1 switches it on); a permission without a
// setting is always on.
template <class Lookup> Settings readSettings(Lookup lookup)
{
    Settings s;
    for (int p = 0; p < Count; ++p) {
        const char* key = row(Permission(p)).setting;
        s.enabled[p] = !key || lookup(QString::fromLatin1(key)).trimmed().toInt() == 1;
    }
    return s;
}

QString caption(Permission p);

// Visible in the properties dialog for a client of that kind.
bool visibleFor(Permission p, bool lnr, bool bonus);

// The description as the portal stores it: every line followed by CR LF.
QString descriptionParam(const QString& text);
// Length of what the column keeps of a description parameter (trailing line ends are dropped);
// CR LF counts two.
int storedLength(const QString& param);
inline constexpr int kDescriptionLength = 255;

// The bulk edit's choice.
enum class Box
{
    Grey,
    Unticked,
    Ticked
};
struct GroupChoice
{
    Box boxes[Count] = {Box::Grey, Box::Grey, Box::Grey, Box::Grey, Box::Grey, Box::Grey,
                        Box::Grey, Box::Grey, Box::Grey, Box::Grey, Box::Grey};
    bool stateOn = false;
    int statePosition = 0;
    bool descriptionOn = false;
    QString description;
};
// True when OK has anything to change.
bool hasAnyChoice(const GroupChoice& choice);

// One ticked client as the bulk edit needs it.
struct GroupClient
{
    int id = 0;
    bool lnr = false;
    bool bonus = false;
    QString email;
};
// The fourteen arguments of update_client_from_group, in its order; null leaves that property.
QVariantList groupParams(const GroupChoice& choice, const Settings& settings, const GroupClient& client);

} // namespace ClientPermissions
