#include "model/workspace.h"

#include "model/schemas.h"

namespace trotix {

WorkspaceView::WorkspaceView()
    : RT(GridColumns(Grid::RT)),
      LG(GridColumns(Grid::LG)),
      T1(GridColumns(Grid::T1)),
      T2(GridColumns(Grid::T2)),
      NX(GridColumns(Grid::NX)),
      RF(GridColumns(Grid::RF)),
      H(GridColumns(Grid::H)),
      TIPS(GridColumns(Grid::TIPS)),
      REZ(GridColumns(Grid::REZ)),
      REP(GridColumns(Grid::REP)),
      MM(GridColumns(Grid::MM)),
      TAB(GridColumns(Grid::TAB)),
      R(GridColumns(Grid::R)),
      RR(GridColumns(Grid::RR)) {}

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

}  // namespace trotix
