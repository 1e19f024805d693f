#include "gui/pages/today_page.h"

#include <QLabel>
#include <QVBoxLayout>

#include "gui/core_texts.h"
#include "gui/display_text.h"
#include "gui/pages/grid_view.h"
#include "gui/pages/page_parts.h"
#include "model/columns.h"

namespace trotix::gui {

TodayPage::TodayPage(const WorkspaceView& ws, QWidget* parent) : QWidget(parent) {
  setObjectName("todayPage");
  auto* l = PageColumn(this);
  rt_ = new GridView("RT", ws.RT, GridView::Select::Rows, GridView::Sort::ByHeader);
  rt_->SetFlagPictures(rt::kFlag);
  l->addWidget(rt_);
  count_ = MakeLabel("glavcount", tr("Count: 0"));
  count_->setFont(Larger(count_->font(), 0));
  l->addWidget(count_);
  // The race is the row; the column of the click does not matter.
  connect(rt_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& i) { emit raceActivated(rt_->SourceRow(i)); });
}

void TodayPage::Show(const WorkspaceView& ws) {
  rt_->SetTable(ws.RT);
  count_->setText(CoreText(ws.glavcount));
}

}  // namespace trotix::gui
