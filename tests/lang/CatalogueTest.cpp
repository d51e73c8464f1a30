#include "lang/CatalogueTable.h"

#include "lang/Cp1251.h"
#include "lang/IniFile.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QString kEnglishFile = QStringLiteral(TEV_SOURCE_DIR "/resources/lang/DEDAdize_eng.ini");

QString keyAt(int index)
{
    return QString::fromUtf8(lang::kCatalogue[index].key);
}

QString defaultAt(int index)
{
    return QString::fromUtf8(lang::kCatalogue[index].defaultText);
}

// Indexes of the entries under a key, in catalogue order.
QList<int> entriesOf(const QString& key)
{
    QList<int> found;
    for (int i = 0; i < lang::kCatalogueSize; ++i)
        if (keyAt(i).compare(key, Qt::CaseInsensitive) == 0)
            found.append(i);
    return found;
}

// The things a translation must carry over unchanged, in order: format arguments, mail template
// placeholders and the "##" line marks of the mail templates.
QStringList placeholders(const QString& text)
{
    static const QRegularExpression token(
        QStringLiteral("%(?:LOGIN|PASSWORD|BLOCK_DATE|CLIENT_NAME)%|%[sd]|##"));
    QStringList found;
    for (auto it = token.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    return found;
}

int accelerators(QString text)
{
    text.remove(QStringLiteral("&&")); // a literal ampersand
    return int(text.count(QLatin1Char('&')));
}

} // namespace

TEST(CatalogueTable, HoldsEntriesUnderDistinctKeys)
{
    ASSERT_EQ(lang::kCatalogueSize, 677);

    // vrtsrEmitentsValues is spelled so wherever the limits window asks for it
    static const QRegularExpression keyShape(QStringLiteral("^(v?rstr[A-Za-z0-9_]+|vrtsrEmitentsValues)$"));
    QHash<QString, int> perKey;
    for (int i = 0; i < lang::kCatalogueSize; ++i) {
        const QString key = keyAt(i);
        EXPECT_TRUE(keyShape.match(key).hasMatch()) << "entry " << i << ": " << key.toStdString();
        EXPECT_FALSE(defaultAt(i).isEmpty()) << key.toStdString();
        bool lossless = false;
        lang::toCp1251(defaultAt(i), &lossless);
        EXPECT_TRUE(lossless) << key.toStdString() << " has a default outside code page 1251";
        ++perKey[key.toCaseFolded()];
    }
    EXPECT_EQ(perKey.size(), 675);

    QStringList shared;
    for (auto it = perKey.cbegin(); it != perKey.cend(); ++it)
        if (it.value() > 1)
            shared.append(it.key());
    shared.sort();
    EXPECT_EQ(shared, (QStringList{"rstrclient", "vrstredittranslation"}));
}

TEST(CatalogueTable, SharedKeysKeepBothDefaultsInOrder)
{
    const QList<int> client = entriesOf("rstrClient");
    ASSERT_EQ(client.size(), 2);
    EXPECT_EQ(defaultAt(client[0]), "Клиент");
    EXPECT_EQ(defaultAt(client[1]), "Клиент");

    // the single-phrase action reads the first, the all-translations actions the second
    const QList<int> translation = entriesOf("vrstrEditTranslation");
    ASSERT_EQ(translation.size(), 2);
    EXPECT_EQ(defaultAt(translation[0]), "Редактировать перевод");
    EXPECT_EQ(defaultAt(translation[1]), "Редактировать переводы");
}

TEST(CatalogueTable, QuotedDefaultsAreExact)
{
    struct Row
    {
        const char* key;
        const char* text;
    };
    static const Row rows[] = {
        {"vrstrConByScheme", "Соединение по схеме \"%s\""},
        {"rstrCouldNotLoad", "Не смог загрузить \"%s\""},
        {"rstrNotFoundFunction", "Не нашел функции \"%s\".\"%s\""},
        {"rstrTypeOperationDelete", "Удалить тип операции \"%s\"?"},
        {"rstr_fmtmsg_IncorrectSortingField", "Некорректное поле \"%s\" для сортировки"},
        {"rstrFormatPeriod", "с %s по %s"},
        {"vrstrTrGrNotLinkedTrn", "Количество незакрепленных за группами типов транзакций: %d"},
        {"vrstrDeleteLogin", "Удалить логин: %s?"},
        {"vrstrChangeManagerPassword", "Изменить пароль администратору: %s?"},
        {"vrstrLoginExists", "Логин %s уже существует"},
        {"vrstrSendingFinishedLog", "Отправка завершена. Успешно отправлено: %d Ошибок: %d"},
        {"vrstrMesPasswordIsNotSecure", "Указанный пароль не соответствует настройкам безопасности (%s). "
                                        "Изменить пароль логина на небезопасный?"},
        {"vrstrMesPasswordIsNotSecure2", "Указанный пароль не соответствует настройкам безопасности (%s). "
                                         "Назначить логину небезопасный пароль?"},
        {"vrstrDBObjectNotFound", "На выбранной схеме %s ошибка в объектах базы данных: "},
        {"vrstrFoundActiveConnect", "Обнаружены активные соединения с БД Системы (%s)."},
        {"rstrFirstRec", "На первую запись"},
        {"rstrPriorRec", "На предыдущую запись"},
        {"rstrNextRec", "На следующую запись"},
        {"rstrLastRec", "На последнюю запись"},
        {"rstrRefreshData", "Обновить данные"},
        {"vrstrmiLangRU", "Русский"},
        {"rstrLangs", "&Язык интерфейса"},
        {"rstrWebLangs", "Язык WEB-интерфейса"},
        // message dialog buttons and captions
        {"rstrOk", "OK"},
        {"rstrCancel", "Отмена"},
        {"rstrAbort", "Прервать"},
        {"rstrRepeat", "Повторить"},
        {"rstrIgnore", "Игнорировать"},
        {"rstrYes", "Да"},
        {"rstrNo", "Нет"},
        {"rstrAll", "Все"},
        {"rstrAllNo", "Все нет"},
        {"rstrAllYes", "Все да"},
        {"rstrWarning", "Предупреждение"},
        {"rstrError", "Ошибка"},
        {"rstrConfirmation", "Подтверждение"},
        {"rstrMessage", "Сообщение"},
    };
    for (const Row& row : rows) {
        const QList<int> found = entriesOf(row.key);
        ASSERT_EQ(found.size(), 1) << row.key;
        EXPECT_EQ(defaultAt(found[0]), QString::fromUtf8(row.text)) << row.key;
    }
}

TEST(CatalogueTable, LineBreaksAreCrLfExceptTheManagerSignInError)
{
    for (int i = 0; i < lang::kCatalogueSize; ++i) {
        const QString text = defaultAt(i);
        if (keyAt(i) == "vrstrTEVMagagerEnterError") {
            // kept as LF CR, the way the sign-in refusal has always shown it
            EXPECT_EQ(text.count("\n\r"), 1);
            EXPECT_FALSE(text.contains("\r\n"));
            EXPECT_TRUE(text.startsWith("TEV_MANAGER предназначен для входа"));
            EXPECT_TRUE(text.endsWith("separate_manage = 1"));
            continue;
        }
        EXPECT_EQ(text.count('\r'), text.count("\r\n")) << keyAt(i).toStdString();
        EXPECT_EQ(text.count('\n'), text.count("\r\n")) << keyAt(i).toStdString();
    }
}

class EnglishLanguageFile : public ::testing::Test
{
protected:
    lang::IniFile ini{kEnglishFile};
};

TEST_F(EnglishLanguageFile, TitleNamesEnglishWithId9)
{
    ASSERT_TRUE(QFile::exists(kEnglishFile)) << kEnglishFile.toStdString();
    EXPECT_EQ(ini.readString("TITLE", "rstrLangName"), "English");
    EXPECT_EQ(ini.readInteger("TITLE", "rstrLangId"), 9);
}

TEST_F(EnglishLanguageFile, TranslatesEveryKeyAndNothingElse)
{
    for (int i = 0; i < lang::kCatalogueSize; ++i) {
        EXPECT_TRUE(ini.valueExists("WORDS", keyAt(i))) << keyAt(i).toStdString();
        EXPECT_FALSE(ini.readString("WORDS", keyAt(i)).isEmpty()) << keyAt(i).toStdString();
    }

    const QStringList words = ini.readSection("WORDS");
    EXPECT_EQ(words.size(), 675);
    for (const QString& key : words)
        EXPECT_FALSE(entriesOf(key).isEmpty()) << "unknown key " << key.toStdString();
}

TEST_F(EnglishLanguageFile, KeepsPlaceholdersAcceleratorsAndOuterBlanks)
{
    for (int i = 0; i < lang::kCatalogueSize; ++i) {
        const QString russian = defaultAt(i);
        const QString english = ini.readString("WORDS", keyAt(i));
        const std::string key = keyAt(i).toStdString();
        EXPECT_EQ(placeholders(english), placeholders(russian)) << key;
        EXPECT_LE(accelerators(russian), 1) << key;
        EXPECT_EQ(accelerators(english), accelerators(russian)) << key;
        EXPECT_EQ(english.startsWith(' '), russian.startsWith(' ')) << key;
        EXPECT_EQ(english.endsWith(' '), russian.endsWith(' ')) << key;
    }
}

TEST_F(EnglishLanguageFile, IsCp1251WithCrLfLineEnds)
{
    QFile file(kEnglishFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_FALSE(bytes.isEmpty());

    EXPECT_FALSE(bytes.contains('\x98')) << "byte 0x98 has no character in code page 1251";
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no UTF-8 byte order mark";
    bool lossless = false;
    EXPECT_EQ(lang::toCp1251(lang::fromCp1251(bytes), &lossless), bytes);
    EXPECT_TRUE(lossless);

    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n"));
}
