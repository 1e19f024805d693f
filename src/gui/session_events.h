#pragma once
// The user events the window forwards to the Session. Each call names the Session function it
// stands for; an event whose function the Session does not offer yet reports false from
// Has...(), and the window keeps its control disabled instead of guessing.
#include "app/session.h"

namespace trotix::gui::events {

// Double-clicks and clicks on grid cells, given as (column, row); a Session function that
// takes only the row gets only the row.
#define TROTIX_CELL_EVENT(Name)                   \
  template <class S = Session>                    \
  constexpr bool Has##Name() {                    \
    return requires(S & s, int col, int row) {    \
      s.Name(col, row);                           \
    }                                             \
    || requires(S & s, int row) {                 \
      s.Name(row);                                \
    };                                            \
  }                                               \
  template <class S = Session>                    \
  void Name(S& s, int col, int row) {             \
    if constexpr (requires { s.Name(col, row); }) \
      s.Name(col, row);                           \
    else if constexpr (requires { s.Name(row); }) \
      s.Name(row);                                \
  }

// Buttons and menu items, without arguments.
#define TROTIX_CLICK_EVENT(Name)                    \
  template <class S = Session>                      \
  constexpr bool Has##Name() {                      \
    return requires(S & s) {                        \
      s.Name();                                     \
    };                                              \
  }                                                 \
  template <class S = Session>                      \
  void Name(S& s) {                                 \
    if constexpr (requires { s.Name(); }) s.Name(); \
  }

TROTIX_CELL_EVENT(RTCellDblClick)   // "Today": the race's analysis from the tables as they stand
TROTIX_CELL_EVENT(MMCellDblClick)   // "ALL TABLE": the race's analysis with fresh exchange data
TROTIX_CELL_EVENT(NXCellDblClick)   // "Zorvat": score the race
TROTIX_CELL_EVENT(TABCellDblClick)  // add the runner to the report
TROTIX_CELL_EVENT(REPCellClick)     // remember the report row
TROTIX_CELL_EVENT(REZCellClick)     // a result's link
TROTIX_CLICK_EVENT(N1Click)         // "Удалить"
TROTIX_CLICK_EVENT(spSkinXFormButton7Click)   // "Best Recoming"
TROTIX_CLICK_EVENT(spSkinXFormButton8Click)   // "Best Rank"
TROTIX_CLICK_EVENT(spSkinXFormButton9Click)   // "Save"
TROTIX_CLICK_EVENT(spSkinXFormButton10Click)  // "Clear"
TROTIX_CLICK_EVENT(tvbuttonClick)             // video page
TROTIX_CLICK_EVENT(bfbuttonClick)             // market page

#undef TROTIX_CELL_EVENT
#undef TROTIX_CLICK_EVENT

}  // namespace trotix::gui::events
