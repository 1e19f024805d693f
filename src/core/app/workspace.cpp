#include "app/workspace.h"

namespace trotix {
namespace {

Column Txt(std::string caption, bool hidden = false, std::string hint = {}) {
  return {std::move(caption), ColumnKind::Text, hidden, std::move(hint)};
}
Column Num(std::string caption, bool hidden = false, std::string hint = {}) {
  return {std::move(caption), ColumnKind::Number, hidden, std::move(hint)};
}
Column Img(std::string caption, bool hidden = false, std::string hint = {}) {
  return {std::move(caption), ColumnKind::Image, hidden, std::move(hint)};
}

std::vector<Column> NumberedColumns(int count) {
  std::vector<Column> c;
  for (int i = 0; i < count; ++i) c.push_back(Num(""));
  return c;
}

}  // namespace

const char* PageCaption(int page) {
  static const char* const kCaptions[kPageCount] = {
      "Today", "Select Course", "Stats Horse", "Scalp Odds", "Indicator BF", "Zorvat",
      "Tips",  "Result",        "Report",      "About",      "ALL TABLE"};
  return page >= 0 && page < kPageCount ? kCaptions[page] : "";
}

WorkspaceView::WorkspaceView() {
  RT = Table({Img(""), Txt("Time"), Txt("Course"), Txt("Name"), Txt("Prize"), Txt("Runners")});
  LG = Table({Img(""), Txt("Time"), Txt("Course"), Txt("Name Horse"), Txt("Last Price"),
              Txt("1st Show"), Num("Mov, %")});
  T1 = Table({Img(""), Txt("Time"), Txt("Course")});
  T2 = Table({Txt("Name Horse"), Num("%"), Txt("All Sum, $"), Txt("Sum, $"), Num("Odd"), Num("St1"),
              Num("St2"), Txt("", true), Txt("", true), Txt("SK", false, "Start Odd"),
              Txt("<%>", false, "Сдвиг"), Txt("Place"), Txt("Place Sum")});
  NX = Table({Img(""), Txt("Time"), Txt("Course"), Txt("Название", true), Txt("", true)});
  RF = Table({Num("DV"), Num("FNH"), Num("ID"), Num("VP")});
  {
    std::vector<Column> h = {Txt("№"),  Num("ID"),    Num("NH"),
                             Num("VH"), Txt("Horse"), Txt("Status I")};
    for (auto& c : NumberedColumns(6)) h.push_back(c);
    h.push_back(Num("Pts I"));
    for (auto& c : NumberedColumns(6)) h.push_back(c);
    h.push_back(Num("Pts II"));
    h.push_back(Txt("Status II"));
    h.push_back(Txt("Score"));
    H = Table(std::move(h));
  }
  TIPS = Table({Img(""), Txt("Time"), Txt("Course"), Txt("Name Horse"), Img("Place")});
  REZ = Table({Img(""), Txt("Time"), Txt("Course"), Txt("Number 1"), Txt("Odd"), Txt("Number 2"),
               Txt("Odd"), Txt("Number 3"), Txt("Odd"), Txt("Number 4"), Txt("Odd"),
               Txt("URL", true), Img("Link")});
  REP = Table({Txt("Time"), Txt("Course"), Txt("Name Horse"), Txt("Odds"), Txt("System")});
  MM = Table({Img(""), Txt("Time"), Txt("Course")});
  TAB = Table({Txt("№"),
               Txt("Name Horse"),
               Num("%", true),
               Img("Т", false, "Тренер"),
               Img("J", false, "Жокей"),
               Txt("Age Wgt", false, "Лет Вес"),
               Txt("Form", false, "Форма"),
               Txt("Day"),
               Num("ТОТ", true),
               Num("BF", true),
               Num("Kf", false, "Текущий кф"),
               Num("", false, "Движение кф."),
               Num("FR", false, "Form Rank"),
               Num("Win", true),
               Num("Place", true),
               Txt("Ind", true, "Индикаторы BF"),
               Img("TIPS"),
               Img("Pro", true),
               Txt("", false, "Zorvat"),
               Txt("Id_Market", true),
               Txt("Id_Select", true),
               Num("OR"),
               Num("TS"),
               Num("RPR"),
               Num("OR2", true),
               Num("TS2", true),
               Num("RPR", true),
               Num("Rank"),
               Txt("Place", true)});
  R = Table({Txt("Name Horse"), Num("Rank"), Num("BF %"), Num("Scalp"), Num("RPR"),
             Num("Indicator"), Num("Tips1"), Num("FR"), Num("Zorvat"), Num("Summa")});
  RR = Table({Txt("Name Horse"), Num("Power")});
  tabVisible[kPageAbout] = true;
}

std::vector<std::pair<std::string, const Table*>> WorkspaceView::Tables() const {
  return {{"RT", &RT}, {"LG", &LG},   {"T1", &T1},     {"T2", &T2},   {"NX", &NX},
          {"RF", &RF}, {"H", &H},     {"TIPS", &TIPS}, {"REZ", &REZ}, {"REP", &REP},
          {"MM", &MM}, {"TAB", &TAB}, {"R", &R},       {"RR", &RR}};
}

std::vector<std::pair<std::string, Table*>> WorkspaceView::Tables() {
  std::vector<std::pair<std::string, Table*>> out;
  for (const auto& [name, t] : std::as_const(*this).Tables())
    out.emplace_back(name, const_cast<Table*>(t));
  return out;
}

std::vector<std::pair<std::string, std::string>> WorkspaceView::Labels() const {
  return {{"u1", u1},
          {"u2", u2},
          {"u3", u3},
          {"u4", u4},
          {"u5", u5},
          {"u6", u6},
          {"u7", u7},
          {"u8", u8},
          {"bfnumber", bfnumber},
          {"ind1", ind1},
          {"ind2", ind2},
          {"spSkinLabel3", spSkinLabel3},
          {"spSkinLabel4", spSkinLabel4},
          {"e1", e1},
          {"e2", e2},
          {"e3", e3},
          {"glavcount", glavcount}};
}

std::vector<std::string> WorkspaceView::VisibleTabs() const {
  std::vector<std::string> out;
  for (int p = 0; p < kPageCount; ++p)
    if (tabVisible[p]) out.emplace_back(PageCaption(p));
  return out;
}

}  // namespace trotix
