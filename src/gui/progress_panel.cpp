#include "gui/progress_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ports.h"

namespace trotix::gui {
namespace {

constexpr int kDelayMilliseconds = 400;
constexpr const char* kCaption = "Load data....";

}  // namespace

ProgressPanel::ProgressPanel(QWidget* window) : QFrame(window) {
  setObjectName("progressPanel");
  setStyleSheet(
      "#progressPanel { background: #f4f6f8; border: 1px solid #5a6b7b; border-radius: 6px; }");
  auto* l = new QVBoxLayout(this);
  caption_ = new QLabel(kCaption);
  caption_->setObjectName("progressCaption");
  caption_->setWordWrap(true);
  l->addWidget(caption_);
  // During a run of many races each gauge says what it counts; alone, `pr` is the command's.
  prLabel_ = new QLabel(tr("Runner pages"));
  prLabel_->setObjectName("prLabel");
  prLabel_->hide();
  l->addWidget(prLabel_);
  pr_ = new QProgressBar;
  pr_->setObjectName("pr");
  pr_->setRange(0, 100);
  l->addWidget(pr_);
  pr2Label_ = new QLabel(tr("Races analysed"));
  pr2Label_->setObjectName("pr2Label");
  pr2Label_->hide();
  l->addWidget(pr2Label_);
  pr2_ = new QProgressBar;
  pr2_->setObjectName("pr2");
  pr2_->hide();
  l->addWidget(pr2_);
  cancel_ = new QPushButton("Cancel");
  cancel_->setObjectName("progressCancel");
  connect(cancel_, &QPushButton::clicked, this, [this] {
    emit cancelRequested();
    cancel_->setEnabled(false);
  });
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cancel_);
  l->addLayout(row);
  Place();
  hide();

  delay_ = new QTimer(this);
  delay_->setSingleShot(true);
  connect(delay_, &QTimer::timeout, this, [this] { Reveal(true); });
}

void ProgressPanel::SetBusy(bool busy) {
  busy_ = busy;
  if (busy) {
    cancel_->setEnabled(true);
    pr_->setRange(0, 0);  // moving until a gauge is set
    delay_->start(kDelayMilliseconds);
  } else {
    delay_->stop();
    Reveal(false);
    caption_->setText(kCaption);
    pr_->setRange(0, 100);
    pr_->setValue(0);
    ShowGauge(Progress::kPr2, false);
  }
}

void ProgressPanel::Request(bool visible) {
  // Let go mid-command, it stays up once the delay is over, so Cancel is still in reach.
  Reveal(visible || (busy_ && !delay_->isActive()));
}

void ProgressPanel::SetGauge(int gauge, int value, int maximum) {
  QProgressBar* bar = gauge == Progress::kPr ? pr_ : pr2_;
  bar->setRange(0, std::max(maximum, 1));
  bar->setValue(value);
}

void ProgressPanel::ShowGauge(int gauge, bool visible) {
  (gauge == Progress::kPr ? pr_ : pr2_)->setVisible(visible);
  if (gauge != Progress::kPr2) return;
  pr2Label_->setVisible(visible);
  prLabel_->setVisible(visible);
  Place();
  if (visible) Reveal(true);
}

void ProgressPanel::Place() {
  QWidget* window = parentWidget();
  const QRect area = pr2_->isVisibleTo(this) && runArea_ ? runArea_() : QRect();
  if (area.isEmpty()) {
    setGeometry((window->width() - 320) / 2, (window->height() - 130) / 2, 320, 130);
    return;
  }
  // At the foot of the area, as tall as it needs.
  const int height = std::max(sizeHint().height(), heightForWidth(area.width()));
  setGeometry(area.x(), std::max(area.y(), area.bottom() - height), area.width(), height);
}

void ProgressPanel::SetCaption(const QString& text) {
  caption_->setText(text);
}

void ProgressPanel::Pause(bool paused) {
  paused_ = paused;
  if (paused) {
    delay_->stop();
    Reveal(false);
  } else if (busy_) {
    delay_->start(kDelayMilliseconds);
  }
}

void ProgressPanel::Reveal(bool visible) {
  visible = visible && !paused_;
  setVisible(visible);
  if (visible) raise();
}

}  // namespace trotix::gui
