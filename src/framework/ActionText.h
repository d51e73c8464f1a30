#pragma once

#include <QString>

namespace framework {

// The caption or hint of an action: an entry of the message catalogue, read again at every language
// switch, or a fixed text that no language changes. A catalogue key converts implicitly, so a row
// of an action table writes u"rstrFind"; a fixed text is written ActionText::fixed("Искать").
class ActionText
{
public:
    constexpr ActionText() = default;
    constexpr ActionText(const char16_t* catalogueKey) : mKey(catalogueKey) {}
    static constexpr ActionText fixed(const char* utf8Text)
    {
        ActionText t;
        t.mFixed = utf8Text;
        return t;
    }

    constexpr bool isNull() const { return !mKey && !mFixed; }
    // The catalogue key; nullptr for a fixed text or none.
    constexpr const char16_t* key() const { return mKey; }
    // The catalogue's current text, or the fixed text; empty for none.
    QString text() const;

private:
    const char16_t* mKey = nullptr;
    const char* mFixed = nullptr;
};

} // namespace framework
