#pragma once
// The window's language: "As written" (its captions as they have always read, Russian and
// English mixed) or a translation embedded under :/i18n ("en": English throughout).
#include <QString>
#include <utility>
#include <vector>

namespace trotix::gui {

// The kept value of "As written": no translator.
inline constexpr const char* kAsWritten = "";

// Each choice of Settings' "Language": its kept value and its caption, "As written" first.
std::vector<std::pair<QString, QString>> LanguageChoices();

// Installs the application's translator for `code`, replacing one installed before; "" removes
// it. False, with no translator, for a code without a translation.
bool UseLanguage(const QString& code);

// The code of the translation installed, "" for none.
QString LanguageInUse();

}  // namespace trotix::gui
