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
constexpr const char* kCaption = QT_TRANSLATE_NOOP("trotix::gui::ProgressPanel", "Load data....");

}  // namespace

ProgressPanel::ProgressPanel(QWidget* window) : QFrame(window) {
  setObjectName("progressPanel");
  setStyleSheet(
      "#progressPanel { background: #f4f6f8; border: 1px solid #5a6b7b; border-radius: 6px; }");
  auto* l = new QVBoxLayout(this);
  caption_ = new QLabel(tr(kCaption));
  caption_->setObjectName("progressCaption");
  l->addWidget(caption_);
  pr_ = new QProgressBar;
  pr_->setObjectName("pr");
  pr_->setRange(0, 100);
  l->addWidget(pr_);
  pr2_ = new QProgressBar;
  pr2_->setObjectName("pr2");
  pr2_->hide();
  l->addWidget(pr2_);
  cancel_ = new QPushButton(tr("Cancel"));
  cancel_->setObjectName("progressCancel");
  connect(cancel_, &QPushButton::clicked, this, [this] {
    emit cancelRequested();
    cancel_->setEnabled(false);
  });
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cancel_);
  l->addLayout(row);
  setGeometry((window->width() - 320) / 2, (window->height() - 130) / 2, 320, 130);
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
    caption_->setText(tr(kCaption));
    pr_->setRange(0, 100);
    pr_->setValue(0);
    pr2_->hide();
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
  if (gauge == Progress::kPr2 && visible) Reveal(true);
}

void ProgressPanel::SetCaption(const QString& text) {
  caption_->setText(text);
}

void ProgressPanel::Reveal(bool visible) {
  setVisible(visible);
  if (visible) raise();
}

}  // namespace trotix::gui
