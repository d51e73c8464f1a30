#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The portal settings the settings window edits, as data: each key's kind, page, default and range
// or choices, and the conversion from the stored text to what its control shows and back.
namespace PortalSettingsKeys {

enum class Kind
{
    Text,     // one line, trimmed when saved
    Lines,    // several lines, stored joined by CR LF
    Password, // one line, stored exactly as typed
    Flag,     // "1" on, anything else off
    Choice,   // one of `choices` (stored texts, in the control's order)
    Number,   // integer in [min, max]
    Port,     // empty or 1..65535
    SendMode, // CAN_SEND_OC_IMM: "0" box clear, "1"/"2" box set with the first/second choice
    Blocking  // TYPE_BLOCK_DESCRIBE: "-1" not used, "0"/"1" used with the first/second choice
};

enum Page
{
    GeneralPage = 0,
    FeedbackPage = 1,
    RecoveryPage = 2,
    SecurityPage = 3
};

// The widest stored text a key takes (the store's column).
inline constexpr int kMaxStoredLength = 255;

struct KeyDef
{
    const char* key;
    Kind kind;
    Page page;
    QStringList choices = {};
    int defaultChoice = -1; // -1: nothing chosen
    int min = 0;
    int max = 0;
    int defaultNumber = 0;
};

// What a control shows: a box, a choice (-1 for none), a number or a text. Kinds use the members
// they need and leave the others at their defaults, so two states compare equal when the control
// shows the same.
struct ControlState
{
    ControlState() = default;
    ControlState(bool checked, int choice = -1, int number = 0, QString text = {})
        : checked(checked), choice(choice), number(number), text(std::move(text))
    {
    }

    bool checked = false;
    int choice = -1;
    int number = 0;
    QString text;
    bool operator==(const ControlState&) const = default;
};

// Every key of the window in the order a save writes them.
const QList<KeyDef>& Keys();
// The definition of a key; throws std::out_of_range for a key the window does not edit.
const KeyDef& Key(const QString& key);

// Whether a stored text is a value of the key (empty counts as missing, which is valid).
bool IsValid(const KeyDef& def, const QString& stored);
// The control state of a stored text; a missing, odd or out-of-range text gives the default.
ControlState FromStored(const KeyDef& def, const QString& stored);
// The stored text of a control state; nothing when the control holds no value to store (a choice
// that shows none, the send box set without a choice).
std::optional<QString> ToStored(const KeyDef& def, const ControlState& state);
// The default control state of the key.
ControlState DefaultState(const KeyDef& def);

// Each address of a list of addresses separated by ";" or "," (blanks around them allowed).
bool IsAddressList(const QString& text);
// One e-mail address: local part, "@", a domain with a dot inside, no blanks.
bool IsAddress(const QString& text);
// A port: 1..65535, digits only.
bool IsPort(const QString& text);

} // namespace PortalSettingsKeys
