// Every text is kept exactly as users of the Russian interface know it,
// including two look-alike letters: the "а" in "Окно &Winаmp" is Cyrillic and
// the "C" of "Cледующее фото" is Latin; likewise the "С" of "СD" is Cyrillic.
#include "lang/builtin_texts.h"

#include <array>

#include "base/profile_text.h"
#include "base/text_codec.h"

namespace qlm::lang {
namespace {

constexpr BuiltInText kTexts[] = {
    // The main window.
    {"Main", "Russian", "Русский"},

    {"MainMsg", "Cancel", "&Отмена"},
    {"MainMsg", "Warning", "Предупреждение"},
    {"MainMsg", "Error", "Ошибка"},

    {"MainMenu", "Start", "&Старт"},
    {"MainMenu", "All", "&Все"},
    {"MainMenu", "Disk", "Д&иск"},
    {"MainMenu", "Checked", "Выд&еленные"},
    {"MainMenu", "Favorit", "&Любимые"},
    {"MainMenu", "Demo", "Де&мо"},
    {"MainMenu", "View", "&Вид"},
    {"MainMenu", "ShowWinamp", "Окно &Winаmp"},
    {"MainMenu", "MyFavorit", "Мои &любимые"},
    {"MainMenu", "SelectVP", "Выбрать &видеоплейер"},
    {"MainMenu", "SelectAP", "Выбрать &аудиоплейер"},
    {"MainMenu", "MPlayerInt", "&Mediaplayer (встроенный)"},
    {"MainMenu", "BookMode", "Книжный режим"},
    {"MainMenu", "HMode", "Горизонтальный"},
    {"MainMenu", "VMode", "Вертикальный"},
    {"MainMenu", "TextWindows", "Окно текстов"},
    {"MainMenu", "InMainWindow", "В основном окне"},
    {"MainMenu", "InOtherWindow", "В отдельном окне"},
    {"MainMenu", "SlideShowMode", "Режим автопросмотра"},
    {"MainMenu", "StepbyStep", "Последовательно"},
    {"MainMenu", "Random", "Случайно"},
    {"MainMenu", "DelaySlideShow", "Задержка при автопросмотре"},
    {"MainMenu", "Service", "&Сервис"},
    {"MainMenu", "Help", "&Помощь"},
    {"MainMenu", "OnlyWinamp", "&Оставить только Winamp"},
    {"MainMenu", "ExpTree", "&Развернуть/свернуть все"},
    {"MainMenu", "Find", "&Поиск"},
    {"MainMenu", "Info", "Информация"},
    {"MainMenu", "PlayAll", "Играть все"},
    {"MainMenu", "PlayFolder", "Играть диск"},
    {"MainMenu", "PlayChecked", "Играть выделенные"},
    {"MainMenu", "PlayFavorit", "Играть любимые"},
    {"MainMenu", "PlayWithCurPos", "Играть с текущей позиции"},
    {"MainMenu", "SelectLanguage", "Выбрать &язык"},
    {"MainMenu", "SelectFieldsShow", "Выбрать поля для показа"},
    {"MainMenu", "Composer", "Композитор"},
    {"MainMenu", "Artist", "Артист"},
    {"MainMenu", "Album", "Альбом"},
    {"MainMenu", "Year", "Год"},
    {"MainMenu", "Genre", "Жанр"},
    {"MainMenu", "PrintListDisk", "&Печать содержимого диска"},
    {"MainMenu", "SaveAs", "Сохранить как ..."},
    {"MainMenu", "Texts", "Тексты"},
    {"MainMenu", "Update", "Автоматическое обновление"},

    {"MainButtons", "PlayAll", "Играть все (CTRL+1)"},
    {"MainButtons", "PlayChecked", "Играть отмеченные (CTRL+3)"},
    {"MainButtons", "PlayFavorit", "Играть любимые (CTRL+4)"},
    {"MainButtons", "Text", "Тексты"},
    {"MainButtons", "ExpandTree", "Развернуть/свернуть все (CTRL+ СТРЕЛКА ВНИЗ / CTRL + СТРЕЛКА ВВЕРХ)"},
    {"MainButtons", "Find", "Поиск (CTRL+F)"},
    {"MainButtons", "ShowInfo", "Показать/скрыть информацию (F12)"},
    {"MainButtons", "MyFavorites", "Мои любимые"},

    {"Pages", "SlidePage", "Слайды"},
    {"Pages", "TextPage", "Тексты"},

    {"Other", "SelectFoldersWithQLMMusic", "Выберите устройство с музыкальным MP3 диском"},
    {"Other", "SystemMenuAbout", "&О программе"},
    {"Other", "NoText", "Нет текста"},

    {"Messages", "No", "Нет"},
    {"Messages", "Delete", "Удаление"},
    {"Messages", "QDeleteFavorites", "Вы действительно хотите очистить \"Мои любимые\"?"},
    {"Messages", "ErrorCopyFile", "Ошибка копирования файла"},
    {"Messages", "QuestionDelete", "Удалить? Вы уверены?"},
    {"Messages", "InFutureYouWorkOnlyWinamp", "Далее вы будете работать только с Winamp!"},
    {"Messages", "HelpNotFound", "Файл помощи не найден! Рекомендуется переустановить QLM Musical Player"},
    {"Messages", "UpdZVBForLngSup", "Обновите QLM Musical Player"},
    {"Messages", "Yes", "Да"},
    {"Messages", "Retry", "Повтор"},
    {"Messages", "Abort", "Стоп"},
    {"Messages", "Ignore", "Пропуск"},
    {"Messages", "Browse", "Обзор"},
    {"Messages", "DiskNotFound", "Музыкальный диск не наден!"},
    {"Messages", "LoadingQLM", "Подождите пожалуйста. Идёт загрузка QLM Musical Player ..."},
    {"Messages", "DntAVIPlayer", "Не обнаружен AVI плейер!"},
    {"Messages", "UseDefault", "Используемый по умолчанию"},
    {"Messages", "FileNotFound", "Файл не найден"},

    // Hints of the slide page.
    {"SlidePage", "PreviousBtn", "Предыдущее фото (Page Up)"},
    {"SlidePage", "NextBtn", "Cледующее фото (Page Down)"},
    {"SlidePage", "EnableRandomMode", "Включить случайный просмотр  (ALT-R)"},
    {"SlidePage", "StepByStepMode", "Включить последовательный просмотр (ALP-P)"},
    {"SlidePage", "OnOffSlideModeBtn", "Включить/выключить автоматический режим показа (PAUSE)"},
    {"SlidePage", "DelayBtn", "Задержка"},

    // The tag window.
    {"Info", "Caption", "Информация"},
    {"Info", "Title", "Название"},
    {"Info", "Artist", "Артист"},
    {"Info", "Album", "Альбом"},
    {"Info", "Year", "Год"},
    {"Info", "Genre", "Жанр"},
    {"Info", "Comment", "Комментарий"},
    {"Info", "Composer", "Авторы"},
    {"Info", "Close", "Закрыть"},

    // The find dialog.
    {"Find", "ToFind", "Найти"},
    {"Find", "Find", "Поиск"},
    {"Find", "InList", "в списке"},
    {"Find", "InTexts", "в текстах"},
    {"Find", "InNameFolder", "Искать в названиях папок"},
    {"Find", "Frag", "Искать фрагмент"},
    {"Find", "Cel", "Искать целиком"},
    {"Find", "Next", "Найти далее"},
    {"Find", "Cancel", "Закрыть"},
    {"Find", "Caption", "Поиск"},
    {"Find", "NotSearch", "Не найдено ни одного совпадения"},
    {"Find", "OnlyOne", "Больше совпадений не найдено"},

    // The drive selection dialog.
    {"SelectCD", "SelectCD", "Выберете интересующий Вас СD ROM"},
    {"SelectCD", "Caption", "Выбор СD"},

    // The print dialog.
    {"PrintList", "Left", "Слева"},
    {"PrintList", "Right", "Справа"},
    {"PrintList", "Top", "Сверху"},
    {"PrintList", "Bottom", "Снизу"},
    {"PrintList", "Offsets", "Отступы"},
    {"PrintList", "ColOnPage", "Столбцов на странице"},
    {"PrintList", "ColOnPageOneCol", "1 столбец"},
    {"PrintList", "ColOnPageCurCol", "Точно"},
    {"PrintList", "ColInPageMaxCol", "Максимум"},
    {"PrintList", "IntervalBetweenColumns", "Интервал между столбцами"},
    {"PrintList", "FontSelect", "&Выбор шрифта"},
    {"PrintList", "Automatic", "Автоматически"},
    {"PrintList", "Extended", "Расширено"},
    {"PrintList", "Numeration", "Нумерация"},
    {"PrintList", "NumerationThrough", "Сквозная"},
    {"PrintList", "NumerationStep", "Ступенчатая"},
    {"PrintList", "ToPrint", "Печатать"},
    {"PrintList", "All", "Все"},
    {"PrintList", "Select", "Выбранные"},
    {"PrintList", "ExtendedOption", "Дополнительно"},
    {"PrintList", "SortAlpha", "Отсортировать по алфавиту"},
    {"PrintList", "AddNameAlbum", "Добавить название альбома"},
    {"PrintList", "AlbumCaption", "Альбомы"},
    {"PrintList", "ToFileBtn", "Печать в файл"},
    {"PrintList", "PrintBtn", "Печать"},
    {"PrintList", "FontBtn", "Шрифт"},
    {"PrintList", "Header", "Заголовок"},
    {"PrintList", "CompositionBtn", "Композиция"},
    {"PrintList", "Caption", "Печатать содержание"},
    {"PrintList", "MVMCol1", "Невозможно разместить на странице текст в "},
    {"PrintList", "MVMCol2", " колонок! Измените отступы, шрифты или количество колонок."},
    {"PrintList", "MVCapt", "Ошибка печати"},
    {"PrintList", "AddInfo", "Добавить"},
    {"PrintList", "Composer", "Автор"},
    {"PrintList", "Artist", "Исполнитель"},
    {"PrintList", "Album", "Альбом"},
    {"PrintList", "Year", "Год"},

    // The update dialog.
    {"Update", "Update", "Обновление"},
    {"Update", "PlWBUF", "Подождите пожалуйста. Идёт поиск обновлений."},
    {"Update", "DYWDSFile", "Вы действительно хотите отказаться от сохранения данного файла?"},
    {"Update", "GetError", "Ошибка при получении файла!"},
    {"Update", "UNF",
     "На данный момент у Вас имеется самая последняя версия QLM Musical Player. Обновление не требуется!"},
    {"Update", "LnkNF", "Запрашиваемый файл отсутствует или недоступен!"},
    {"Update", "DDBIns", "Удалить дистрибутив после установки"},
    {"Update", "Close", "Закрыть"},
    {"Update", "Recvd", "Получено"},
    {"Update", "LeftTime", "Осталось"},
    {"Update", "Time", "Прошло"},
    {"Update", "AQ", "Вы действительно хотите прервать обновление?"},
    {"Update", "UA", "Обновление было прервано."},
    {"Update", "NI", "Нет доступа к интернету"},
    {"Update", "OS", "Хотите ли Вы посетить наш сайт?"},
    {"Update", "YHLU",
     "На вашем жестком диске уже обнаружена последняя версия QLM Musical Player! Обновление не требуется."},
    {"Update", "UC", "Обновление завершено!"},

    // The about box.
    {"About", "Memory", "Всего физической памяти"},
    {"About", "FreeMem", "Свободно физической памяти"},
    {"About", "Caption", "О программе"},
};

bool SameAscii(std::string_view a, std::string_view b) {
    return EqualNoCase(std::u16string(a.begin(), a.end()), std::u16string(b.begin(), b.end()));
}

}  // namespace

std::span<const BuiltInText> BuiltInTexts() { return kTexts; }

std::u16string BuiltInTextOf(std::string_view section, std::string_view key) {
    for (const auto& t : kTexts)
        if (SameAscii(t.section, section) && SameAscii(t.key, key)) return Utf8ToUtf16(t.text);
    return {};
}

}  // namespace qlm::lang
