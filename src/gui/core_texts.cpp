#include "gui/core_texts.h"

#include <QCoreApplication>
#include <QStringList>

#include "gui/display_text.h"

namespace trotix::gui {

namespace {

// The core's texts the window shows, marked here so lupdate finds them (the core knows no Qt):
// every column caption and header hint of the grids' schemas (a window test checks that each
// one is here) ...
[[maybe_unused]] constexpr const char* kColumnTexts[] = {
    QT_TRANSLATE_NOOP("CoreText", "Country of the course"),
    QT_TRANSLATE_NOOP("CoreText", "Time"),
    QT_TRANSLATE_NOOP("CoreText", "Start time"),
    QT_TRANSLATE_NOOP("CoreText", "Course"),
    QT_TRANSLATE_NOOP("CoreText", "Name"),
    QT_TRANSLATE_NOOP("CoreText", "Name of the race"),
    QT_TRANSLATE_NOOP("CoreText", "Prize"),
    QT_TRANSLATE_NOOP("CoreText", "Prize money to the winner"),
    QT_TRANSLATE_NOOP("CoreText", "Runners"),
    QT_TRANSLATE_NOOP("CoreText", "Number of runners"),
    QT_TRANSLATE_NOOP("CoreText", "Name Horse"),
    QT_TRANSLATE_NOOP("CoreText", "Runner"),
    QT_TRANSLATE_NOOP("CoreText", "Last Price"),
    QT_TRANSLATE_NOOP("CoreText", "Latest price"),
    QT_TRANSLATE_NOOP("CoreText", "1st Show"),
    QT_TRANSLATE_NOOP("CoreText", "First price shown"),
    QT_TRANSLATE_NOOP("CoreText", "Mov, %"),
    QT_TRANSLATE_NOOP("CoreText",
                      "Price move in percent: negative shortens (green), positive drifts (red)"),
    QT_TRANSLATE_NOOP("CoreText", "%"),
    QT_TRANSLATE_NOOP("CoreText", "Share of the money matched on the race"),
    QT_TRANSLATE_NOOP("CoreText", "All Sum, $"),
    QT_TRANSLATE_NOOP("CoreText", "Money matched on the race"),
    QT_TRANSLATE_NOOP("CoreText", "Sum, $"),
    QT_TRANSLATE_NOOP("CoreText", "Money matched on the runner"),
    QT_TRANSLATE_NOOP("CoreText", "Odd"),
    QT_TRANSLATE_NOOP("CoreText", "Last matched price; 5000 without one"),
    QT_TRANSLATE_NOOP("CoreText", "St1"),
    QT_TRANSLATE_NOOP("CoreText", "Market strength over the three shortest prices"),
    QT_TRANSLATE_NOOP("CoreText", "St2"),
    QT_TRANSLATE_NOOP("CoreText", "Market strength over the second to fourth shortest prices"),
    QT_TRANSLATE_NOOP("CoreText", "Win market"),
    QT_TRANSLATE_NOOP("CoreText", "Runner on the exchange"),
    QT_TRANSLATE_NOOP("CoreText", "SK"),
    QT_TRANSLATE_NOOP("CoreText", "Start Odd"),
    QT_TRANSLATE_NOOP("CoreText", "<%>"),
    QT_TRANSLATE_NOOP("CoreText", "Сдвиг"),
    QT_TRANSLATE_NOOP("CoreText", "Place"),
    QT_TRANSLATE_NOOP("CoreText", "Place price"),
    QT_TRANSLATE_NOOP("CoreText", "Place Sum"),
    QT_TRANSLATE_NOOP("CoreText", "Money matched on the runner / on the place market"),
    QT_TRANSLATE_NOOP("CoreText", "Название"),
    QT_TRANSLATE_NOOP("CoreText", "Not used"),
    QT_TRANSLATE_NOOP("CoreText", "DV"),
    QT_TRANSLATE_NOOP("CoreText", "Day value of today's date (red)"),
    QT_TRANSLATE_NOOP("CoreText", "FNH"),
    QT_TRANSLATE_NOOP("CoreText", "Field number: the number of runners, reduced (green)"),
    QT_TRANSLATE_NOOP("CoreText", "ID"),
    QT_TRANSLATE_NOOP("CoreText", "Sum of the runners' ID letters, reduced (navy)"),
    QT_TRANSLATE_NOOP("CoreText", "VP"),
    QT_TRANSLATE_NOOP("CoreText", "Value of the race's name (purple)"),
    QT_TRANSLATE_NOOP("CoreText", "№"),
    QT_TRANSLATE_NOOP("CoreText", "Position in the sorted runner list"),
    QT_TRANSLATE_NOOP("CoreText", "Letter value of the name's first letter"),
    QT_TRANSLATE_NOOP("CoreText", "NH"),
    QT_TRANSLATE_NOOP("CoreText", "Position, reduced to one digit"),
    QT_TRANSLATE_NOOP("CoreText", "VH"),
    QT_TRANSLATE_NOOP("CoreText", "Value of the runner's name"),
    QT_TRANSLATE_NOOP("CoreText", "Horse"),
    QT_TRANSLATE_NOOP("CoreText", "Status I"),
    QT_TRANSLATE_NOOP("CoreText", "Status of values I1-I6"),
    QT_TRANSLATE_NOOP("CoreText",
                      "I1: a value of part I, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "I2: a value of part I, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "I3: a value of part I, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "I4: a value of part I, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "I5: a value of part I, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "I6: a value of part I, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText", "Pts I"),
    QT_TRANSLATE_NOOP("CoreText", "Points of part I"),
    QT_TRANSLATE_NOOP("CoreText",
                      "II1: a value of part II, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "II2: a value of part II, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "II3: a value of part II, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "II4: a value of part II, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "II5: a value of part II, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText",
                      "II6: a value of part II, coloured by the race number it equals: DV red, FNH "
                      "green, ID blue, VP purple"),
    QT_TRANSLATE_NOOP("CoreText", "Pts II"),
    QT_TRANSLATE_NOOP("CoreText", "Points of part II"),
    QT_TRANSLATE_NOOP("CoreText", "Status II"),
    QT_TRANSLATE_NOOP("CoreText", "Status of values II1-II6"),
    QT_TRANSLATE_NOOP("CoreText", "Score"),
    QT_TRANSLATE_NOOP("CoreText", "Zorvat score: ? when no score line matches"),
    QT_TRANSLATE_NOOP("CoreText", "Runner the tipsters pick"),
    QT_TRANSLATE_NOOP("CoreText", "The tipsters' place for it"),
    QT_TRANSLATE_NOOP("CoreText", "Number 1"),
    QT_TRANSLATE_NOOP("CoreText", "Winner"),
    QT_TRANSLATE_NOOP("CoreText", "Starting price of the winner"),
    QT_TRANSLATE_NOOP("CoreText", "Number 2"),
    QT_TRANSLATE_NOOP("CoreText", "Second"),
    QT_TRANSLATE_NOOP("CoreText", "Starting price of the second"),
    QT_TRANSLATE_NOOP("CoreText", "Number 3"),
    QT_TRANSLATE_NOOP("CoreText", "Third"),
    QT_TRANSLATE_NOOP("CoreText", "Starting price of the third"),
    QT_TRANSLATE_NOOP("CoreText", "Number 4"),
    QT_TRANSLATE_NOOP("CoreText", "Fourth"),
    QT_TRANSLATE_NOOP("CoreText", "Starting price of the fourth"),
    QT_TRANSLATE_NOOP("CoreText", "URL"),
    QT_TRANSLATE_NOOP("CoreText", "Address of the result page"),
    QT_TRANSLATE_NOOP("CoreText", "Link"),
    QT_TRANSLATE_NOOP("CoreText", "Open the result page"),
    QT_TRANSLATE_NOOP("CoreText", "Runner picked"),
    QT_TRANSLATE_NOOP("CoreText", "Odds"),
    QT_TRANSLATE_NOOP("CoreText", "Price when picked"),
    QT_TRANSLATE_NOOP("CoreText", "System"),
    QT_TRANSLATE_NOOP("CoreText", "How it was picked"),
    QT_TRANSLATE_NOOP("CoreText", "Runner number; NR: a non-runner"),
    QT_TRANSLATE_NOOP("CoreText", "Percent"),
    QT_TRANSLATE_NOOP("CoreText", "Т"),
    QT_TRANSLATE_NOOP("CoreText", "Тренер"),
    QT_TRANSLATE_NOOP("CoreText", "J"),
    QT_TRANSLATE_NOOP("CoreText", "Жокей"),
    QT_TRANSLATE_NOOP("CoreText", "Age Wgt"),
    QT_TRANSLATE_NOOP("CoreText", "Лет Вес"),
    QT_TRANSLATE_NOOP("CoreText", "Form"),
    QT_TRANSLATE_NOOP("CoreText", "Форма"),
    QT_TRANSLATE_NOOP("CoreText", "Day"),
    QT_TRANSLATE_NOOP("CoreText", "Days since the last run"),
    QT_TRANSLATE_NOOP("CoreText", "ТОТ"),
    QT_TRANSLATE_NOOP("CoreText", "Tote"),
    QT_TRANSLATE_NOOP("CoreText", "BF"),
    QT_TRANSLATE_NOOP("CoreText", "Kf"),
    QT_TRANSLATE_NOOP("CoreText", "Текущий кф"),
    QT_TRANSLATE_NOOP("CoreText", "Движение кф."),
    QT_TRANSLATE_NOOP("CoreText", "FR"),
    QT_TRANSLATE_NOOP("CoreText", "Form Rank"),
    QT_TRANSLATE_NOOP("CoreText", "Win"),
    QT_TRANSLATE_NOOP("CoreText", "Ind"),
    QT_TRANSLATE_NOOP("CoreText", "Индикаторы BF"),
    QT_TRANSLATE_NOOP("CoreText", "TIPS"),
    QT_TRANSLATE_NOOP("CoreText", "Pro"),
    QT_TRANSLATE_NOOP("CoreText", "Zorvat"),
    QT_TRANSLATE_NOOP("CoreText", "Id_Market"),
    QT_TRANSLATE_NOOP("CoreText", "Id_Select"),
    QT_TRANSLATE_NOOP("CoreText", "OR"),
    QT_TRANSLATE_NOOP("CoreText", "Official rating"),
    QT_TRANSLATE_NOOP("CoreText", "TS"),
    QT_TRANSLATE_NOOP("CoreText", "Topspeed rating"),
    QT_TRANSLATE_NOOP("CoreText", "RPR"),
    QT_TRANSLATE_NOOP("CoreText", "Racing Post rating"),
    QT_TRANSLATE_NOOP("CoreText", "OR2"),
    QT_TRANSLATE_NOOP("CoreText", "Official rating against the race's mean"),
    QT_TRANSLATE_NOOP("CoreText", "TS2"),
    QT_TRANSLATE_NOOP("CoreText", "Topspeed rating against the race's mean"),
    QT_TRANSLATE_NOOP("CoreText", "RPR against the race's mean"),
    QT_TRANSLATE_NOOP("CoreText", "Rank"),
    QT_TRANSLATE_NOOP("CoreText",
                      "The three ratings against the race's means, summed; the best in green"),
    QT_TRANSLATE_NOOP("CoreText", "Runner; greyed: a non-runner"),
    QT_TRANSLATE_NOOP("CoreText", "Ratings against the race's means"),
    QT_TRANSLATE_NOOP("CoreText", "BF %"),
    QT_TRANSLATE_NOOP("CoreText", "Scalp"),
    QT_TRANSLATE_NOOP("CoreText", "Price move: a shortening price scores"),
    QT_TRANSLATE_NOOP("CoreText", "Indicator"),
    QT_TRANSLATE_NOOP("CoreText", "100 for a runner of a strong market"),
    QT_TRANSLATE_NOOP("CoreText", "Tips1"),
    QT_TRANSLATE_NOOP("CoreText", "100 for the tipsters' first pick"),
    QT_TRANSLATE_NOOP("CoreText", "Form score"),
    QT_TRANSLATE_NOOP("CoreText", "Zorvat score as a percentage of the race's best"),
    QT_TRANSLATE_NOOP("CoreText", "Summa"),
    QT_TRANSLATE_NOOP("CoreText", "Sum of the eight components"),
    QT_TRANSLATE_NOOP("CoreText", "The strongest runners that run"),
    QT_TRANSLATE_NOOP("CoreText", "Power"),
    QT_TRANSLATE_NOOP("CoreText", "Their Summa"),
};

// ... the pages' captions, the labels' captions before their figures and the fixed texts of the
// messages and hints, each a line of its own.
[[maybe_unused]] constexpr const char* kMessageTexts[] = {
    QT_TRANSLATE_NOOP("CoreText", "Today"),
    QT_TRANSLATE_NOOP("CoreText", "Select Course"),
    QT_TRANSLATE_NOOP("CoreText", "Stats Horse"),
    QT_TRANSLATE_NOOP("CoreText", "Scalp Odds"),
    QT_TRANSLATE_NOOP("CoreText", "Indicator BF"),
    QT_TRANSLATE_NOOP("CoreText", "Zorvat"),
    QT_TRANSLATE_NOOP("CoreText", "Tips"),
    QT_TRANSLATE_NOOP("CoreText", "Result"),
    QT_TRANSLATE_NOOP("CoreText", "Report"),
    QT_TRANSLATE_NOOP("CoreText", "Proof"),
    QT_TRANSLATE_NOOP("CoreText", "About"),
    QT_TRANSLATE_NOOP("CoreText", "ALL TABLE"),
    QT_TRANSLATE_NOOP("CoreText", "Summ BF:"),
    QT_TRANSLATE_NOOP("CoreText", "Count:"),
    QT_TRANSLATE_NOOP("CoreText", "Course:"),
    QT_TRANSLATE_NOOP("CoreText", "Name:"),
    QT_TRANSLATE_NOOP("CoreText", "Prize:"),
    QT_TRANSLATE_NOOP("CoreText", "Distance:"),
    QT_TRANSLATE_NOOP("CoreText", "Type:"),
    QT_TRANSLATE_NOOP("CoreText", "Autorization Failed!"),
    QT_TRANSLATE_NOOP("CoreText", "Connection failed!"),
    QT_TRANSLATE_NOOP("CoreText", "No races in today's card"),
    QT_TRANSLATE_NOOP("CoreText", "Select Please Horse"),
    QT_TRANSLATE_NOOP("CoreText", "Add to Report"),
    QT_TRANSLATE_NOOP("CoreText", "Update New Version Programm Please!"),
    QT_TRANSLATE_NOOP("CoreText", "Обновите программу с сайта!"),
    QT_TRANSLATE_NOOP("CoreText", "Summ Betfair:"),
    QT_TRANSLATE_NOOP("CoreText", "no price matched"),
    QT_TRANSLATE_NOOP("CoreText", "not in the archive"),
    QT_TRANSLATE_NOOP("CoreText", "not loaded"),
    QT_TRANSLATE_NOOP("CoreText", "exchange prices not loaded"),
    QT_TRANSLATE_NOOP("CoreText", "Exchange prices"),
};

}  // namespace

QString CoreText(const std::string& bytes) {
  QStringList lines = Display(bytes).split('\n');
  for (QString& line : lines) {
    // The vendor's messages break lines with "\n\r": the '\r' stays where it was.
    const bool ledByReturn = line.startsWith('\r');
    const QString text = ledByReturn ? line.mid(1) : line;
    if (text.isEmpty()) continue;
    QString translated = QCoreApplication::translate("CoreText", text.toUtf8().constData());
    // A label's caption before its figure ("Summ Betfair: 1 234 $").
    if (const int colon = text.indexOf(':'); translated == text && colon > 0)
      translated =
          QCoreApplication::translate("CoreText", text.left(colon + 1).toUtf8().constData()) +
          text.mid(colon + 1);
    line = ledByReturn ? '\r' + translated : translated;
  }
  return lines.join('\n');
}

}  // namespace trotix::gui
