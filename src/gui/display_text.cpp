#include "display_text.h"

#include <QStringDecoder>

namespace trotix::gui {

QString Display(const std::string& bytes) {
  QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string Input(const QString& text) {
  return text.toUtf8().toStdString();
}

}  // namespace trotix::gui
