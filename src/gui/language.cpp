#include "gui/language.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QVariant>

namespace trotix::gui {

namespace {
constexpr const char* kTranslatorName = "trotixTranslator";
}

std::vector<std::pair<QString, QString>> LanguageChoices() {
  return {{kAsWritten, QCoreApplication::translate("Language", "As written")},
          {"en", QCoreApplication::translate("Language", "English")}};
}

bool UseLanguage(const QString& code) {
  QCoreApplication* app = QCoreApplication::instance();
  // The application owns the translator, so it lives as long as the texts it translates.
  if (auto* old = app->findChild<QTranslator*>(kTranslatorName, Qt::FindDirectChildrenOnly)) {
    QCoreApplication::removeTranslator(old);
    delete old;
  }
  if (code.isEmpty()) return true;
  auto* translator = new QTranslator(app);
  translator->setObjectName(kTranslatorName);
  if (!translator->load(QStringLiteral(":/i18n/trotix_%1.qm").arg(code))) {
    delete translator;
    return false;
  }
  translator->setProperty("code", code);
  QCoreApplication::installTranslator(translator);
  return true;
}

QString LanguageInUse() {
  const auto* translator = QCoreApplication::instance()->findChild<QTranslator*>(
      kTranslatorName, Qt::FindDirectChildrenOnly);
  return translator ? translator->property("code").toString() : QString(kAsWritten);
}

}  // namespace trotix::gui
