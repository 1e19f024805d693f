#include "qt_ports.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QThread>
#include <QUrl>

#include "app/system_clock.h"
#include "core_texts.h"
#include "display_text.h"

namespace trotix::gui {

namespace {

// Runs `f` on the thread of `target`, waiting for it; directly when already there.
template <class F>
void OnGuiThreadBlocking(QObject* target, F f) {
  if (QThread::currentThread() == target->thread()) {
    f();
  } else {
    QMetaObject::invokeMethod(target, f, Qt::BlockingQueuedConnection);
  }
}

}  // namespace

class GuiPorts::MessagesPort : public Messages {
 public:
  explicit MessagesPort(GuiPorts& owner) : owner_(owner) {}
  void Show(const std::string& text) override {
    const QString shown = CoreText(text);
    // The core waits for the box to be dismissed, as the modal box makes it.
    OnGuiThreadBlocking(&owner_, [this, shown] { owner_.ShowMessage(shown); });
  }
  void ShowWithDetail(const std::string& text, const std::string& detail) override {
    const QString shown = Display(text), more = Display(detail);
    OnGuiThreadBlocking(&owner_, [this, shown, more] { owner_.ShowMessage(shown, more); });
  }

 private:
  GuiPorts& owner_;
};

class GuiPorts::BrowserPort : public Browser {
 public:
  explicit BrowserPort(GuiPorts& owner) : owner_(owner) {}
  void Open(const std::string& urlOrPath) override {
    const QString target = Display(urlOrPath);
    QMetaObject::invokeMethod(
        &owner_, [this, target] { owner_.OpenInBrowser(target); }, Qt::QueuedConnection);
  }

 private:
  GuiPorts& owner_;
};

class GuiPorts::ProgressPort : public Progress {
 public:
  explicit ProgressPort(GuiPorts& owner) : owner_(owner) {}
  void ShowPanel(bool visible) override { emit owner_.panelShown(visible); }
  void SetGauge(Gauge gauge, int value, int maximum) override {
    emit owner_.gaugeSet(gauge, value, maximum);
  }
  void ShowGauge(Gauge gauge, bool visible) override { emit owner_.gaugeShown(gauge, visible); }
  void SetCaption(const std::string& text) override { emit owner_.captionSet(CoreText(text)); }
  StopSignal* stopSignal() override { return &owner_.stop_; }
  bool StepDone(const Workspace& ws, const RaceStep& race) override {
    return owner_.stepHandler_ ? owner_.stepHandler_(ws, race) : true;
  }

 private:
  GuiPorts& owner_;
};

GuiPorts::GuiPorts(QObject* parent)
    : QObject(parent),
      messages_(std::make_unique<MessagesPort>(*this)),
      browser_(std::make_unique<BrowserPort>(*this)),
      progress_(std::make_unique<ProgressPort>(*this)),
      clock_(std::make_unique<SystemClock>()) {}

GuiPorts::~GuiPorts() = default;

Messages& GuiPorts::messages() {
  return *messages_;
}
Browser& GuiPorts::browser() {
  return *browser_;
}
Progress& GuiPorts::progress() {
  return *progress_;
}
Clock& GuiPorts::clock() {
  return *clock_;
}

void GuiPorts::ShowMessage(const QString& text, const QString& detail) {
  emit messageShown(true);
  if (messageHook_) {
    messageHook_(text);
  } else {
    QMessageBox box(QMessageBox::NoIcon, "Trotix", text, QMessageBox::Ok, dialogParent_);
    box.setInformativeText(detail);
    box.exec();
  }
  emit messageShown(false);
}

void GuiPorts::OpenInBrowser(const QString& urlOrPath) {
  if (browserHook_) {
    browserHook_(urlOrPath);
    return;
  }
  const QUrl url = urlOrPath.contains("://")
                       ? QUrl(urlOrPath)
                       : QUrl::fromLocalFile(QFileInfo(urlOrPath).absoluteFilePath());
  QDesktopServices::openUrl(url);
}

QMessageBox::StandardButton GuiPorts::Ask(
    const QString& text, QMessageBox::StandardButtons buttons, QMessageBox::StandardButton escape,
    const std::map<QMessageBox::StandardButton, QString>& captions) {
  if (questionHook_) return questionHook_(text, buttons);
  QMessageBox box(QMessageBox::Question, "Trotix", text, buttons, dialogParent_);
  for (const auto& [button, caption] : captions)
    if (QAbstractButton* b = box.button(button)) b->setText(caption);
  box.setEscapeButton(escape);
  box.exec();
  const auto answer = box.standardButton(box.clickedButton());
  return answer == QMessageBox::NoButton ? escape : answer;
}

QString GuiPorts::AskSavePath(const QString& suggested, const QString& filter) {
  if (fileDialogHook_) return fileDialogHook_(suggested);
  return QFileDialog::getSaveFileName(dialogParent_, tr("Save as"), suggested, filter);
}

QString GuiPorts::AskFolder(const QString& suggested) {
  if (fileDialogHook_) return fileDialogHook_(suggested);
  return QFileDialog::getExistingDirectory(dialogParent_, tr("Data folder"), suggested);
}

}  // namespace trotix::gui
