#pragma once
// The texts the Qt-free core makes for the window (column captions and hints, messages,
// labels), translated when they are shown: each line of the text as a whole, in the context
// "CoreText"; a line without a translation (a figure, a vendor's name) is shown as it is.
#include <QString>
#include <string>

namespace trotix::gui {

QString CoreText(const std::string& bytes);

}  // namespace trotix::gui
