#include "GeneratePassword.h"

#include <QRandomGenerator>
#include <string_view>

namespace crypto {

QString GeneratePassword(int length, bool capitals, bool digits, bool symbols)
{
    const std::string_view alphabets[] = {kPasswordLowerCase, kPasswordCapitals, kPasswordDigits,
                                          kPasswordSymbols};
    const bool allowed[] = {true, capitals, digits, symbols};
    QRandomGenerator* random = QRandomGenerator::system();
    QString password;
    if (length > 0)
        password.reserve(length);
    while (password.size() < length) {
        const int set = int(random->bounded(4u));
        if (!allowed[set])
            continue;
        const std::string_view alphabet = alphabets[set];
        password += QLatin1Char(alphabet[random->bounded(quint32(alphabet.size()))]);
    }
    return password;
}

} // namespace crypto
