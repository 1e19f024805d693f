#include "gui/pages/tips_page.h"

#include <QVBoxLayout>

#include "gui/pages/grid_view.h"
#include "gui/pages/page_parts.h"
#include "gui/pictures.h"
#include "model/columns.h"

namespace trotix::gui {

TipsPage::TipsPage(const WorkspaceView& ws, QWidget* parent) : QWidget(parent) {
  setObjectName("tipsPage");
  auto* l = PageColumn(this);
  tips_ = new GridView("TIPS", ws.TIPS, GridView::Select::Rows, GridView::Sort::ByHeader);
  tips_->SetFlagPictures(tips::kFlag);
  tips_->SetPictures(tips::kPlace, PlacePictures());
  l->addWidget(tips_);
}

void TipsPage::Show(const WorkspaceView& ws) {
  tips_->SetTable(ws.TIPS);
}

}  // namespace trotix::gui
