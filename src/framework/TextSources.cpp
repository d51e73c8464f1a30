#include "TextSources.h"

#include "TComBaseForm.h"

#include <QWidget>

namespace {

struct DefaultText
{
    int id;
    const char* text; // UTF-8
};

constexpr DefaultText kDefaults[] = {
    {98, "16711680"},
    {99, "16711680"},
    {101, "Ошибка с сообщением: \"%s\""},
    {102, "Несуществующий каталог"},
    {103, "Создать каталог \"%s\"?"},
    {104, "Каталог \"%s\" не существует"},
    {105, "Каталог \"%s\" не создан"},
    {106, "Проверьте корректность названия"},
    {107, "Значение должно находиться между %s и %s"},
    {108, "Автопечать"},
    {109, "Кол-во копий"},
    {110, "Принтер"},
    {111, "По текущей записи"},
    {112, "Формировать под новым именем"},
    {113, "Сохранять под новым именем"},
    {114, "Каталог для сохранения отчетов"},
    {115, "Каталог для отправки отчетов"},
    {116, "Изменить каталог для отправки отчетов?"},
    {117, "Изменение каталога отправки отчетов"},
    {118, "По адресу"},
    {119, "Подкаталог адресата"},
    {121, "Некорректные символы"},
    {122, "Некорректные символы в названии"},
    {123, "Открыть"},
    {124, "Создать"},
    {125, "Свернуть"},
    {126, "Развернуть"},
    {127, "Просмотреть"},
    {128, "Сохранение в файл"},
    {129, "Отправка по почте"},
    {130, "Открыть/Создать каталог"},
    {131, "Очистить"},
    {132, "Выбрать"},
    {133, "Выбор каталога"},
    {134, "Выбрать каталог"},
    {135, "Отменить выбор каталога"},
    {136, "Поиск"},
    {137, "Поиск данных по полю \"%s\" невозможен"},
    {138, "Не выбрано поле для поиска"},
    {139, "День"},
    {140, "Месяц"},
    {141, "Год"},
    {142, "Выбор каталога для отправки отчетов"},
    {143, "Выбор подкаталога адресата"},
    {144, "Выбор каталога для сохранения отчетов"},
    {145, "Квартал"},
};

} // namespace

TextSources::TextSources()
{
    for (const DefaultText& d : kDefaults)
        mTexts.insert(d.id, QString::fromUtf8(d.text));
}

const TextSources& TextSources::defaults()
{
    static const TextSources table;
    return table;
}

const TextSources& TextSources::of(const QWidget* control)
{
    for (const QWidget* w = control; w; w = w->parentWidget())
        if (const auto* form = qobject_cast<const TComBaseForm*>(w))
            return form->textSources();
    return defaults();
}

QColor TextSources::colorOf(const QString& text)
{
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok);
    if (!ok)
        return {};
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}
