#include "gui/pages/result_page.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/display_text.h"
#include "gui/pages/grid_view.h"
#include "gui/pages/page_parts.h"
#include "gui/pictures.h"
#include "model/columns.h"

namespace trotix::gui {
namespace {

constexpr int kVizMilliseconds = 5000;

}  // namespace

ResultPage::ResultPage(const WorkspaceView& ws, QWidget* parent) : QWidget(parent) {
  setObjectName("resultPage");
  auto* l = PageColumn(this);
  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel(tr("Date:")));
  date_ = new QLineEdit;
  date_->setObjectName("resultsDateEdit");
  date_->setInputMask("99.99.9999");
  date_->setFixedWidth(96);
  bar->addWidget(date_);
  load_ = MakeButton("loadResultsButton", tr("LOAD"));
  load_->setFixedWidth(90);
  connect(load_, &QPushButton::clicked, this, [this] {
    HideNoInformation();
    emit loadRequested(Date());
  });
  bar->addWidget(load_);
  bar->addStretch();
  l->addLayout(bar);
  rez_ = new GridView("REZ", ws.REZ, GridView::Select::Rows, GridView::Sort::ByHeader);
  rez_->SetFlagPictures(rez::kFlag);
  rez_->SetPictures(rez::kLink, LinkPictures());
  l->addWidget(rez_);
  // Only the link opens the result; the rest of the row is there to be read.
  connect(rez_, &QTableView::clicked, this, [this](const QModelIndex& i) {
    if (i.column() == rez::kLink) emit resultLinkClicked(rez_->SourceRow(i));
  });

  // Laid over the grid rather than in the layout, so the rows do not move.
  viz_ = new QFrame(this);
  viz_->setObjectName("viz");
  viz_->setFrameShape(QFrame::Box);
  viz_->setStyleSheet(
      "#viz { background: #fff8e1; border: 1px solid #c8a04a; border-radius: 4px; }");
  auto* vl = new QVBoxLayout(viz_);
  auto* title = new QLabel(tr("No Information"));
  title->setFont(Larger(title->font(), 8));
  title->setAlignment(Qt::AlignCenter);
  auto* later = new QLabel(tr("please try again later ..."));
  later->setAlignment(Qt::AlignCenter);
  vl->addWidget(title);
  vl->addWidget(later);
  viz_->resize(320, 110);
  PlaceNoInformation();
  viz_->hide();
  vizTimer_ = new QTimer(this);
  vizTimer_->setObjectName("vizTimer");
  vizTimer_->setSingleShot(true);
  vizTimer_->setTimerType(Qt::PreciseTimer);
  connect(vizTimer_, &QTimer::timeout, viz_, &QWidget::hide);
}

void ResultPage::Show(const WorkspaceView& ws) {
  rez_->SetTable(ws.REZ);
}

std::string ResultPage::Date() const {
  return Input(date_->text());
}

void ResultPage::SetDate(const std::string& date) {
  date_->setText(Display(date));
}

void ResultPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceNoInformation();
}

void ResultPage::PlaceNoInformation() {
  // Across the middle of the grid, a little above its centre, at any size of the window.
  viz_->move((width() - viz_->width()) / 2, (height() - viz_->height()) * 2 / 5);
}

void ResultPage::ShowNoInformation() {
  viz_->show();
  viz_->raise();
  vizTimer_->start(kVizMilliseconds);
}

void ResultPage::HideNoInformation() {
  viz_->hide();
  vizTimer_->stop();
}

void ResultPage::SetIdle(bool idle) {
  load_->setEnabled(idle);
}

}  // namespace trotix::gui
