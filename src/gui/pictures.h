#pragma once
// Every picture the window shows, drawn as SVG files under pictures/ and compiled in as resources.
// Each list keeps the index order the core writes into image cells.
#include <QIcon>
#include <QPixmap>
#include <vector>

namespace trotix::gui {

// Country flags in `CourseCountry` order: USA, England, Ireland, France, UAE, India,
// South Africa, Australia, Hong Kong.
std::vector<QPixmap> FlagPictures();
// A neutral flag, the same size, for a country the list above lacks.
QPixmap OtherCountryFlag();
// Link icon of the results' "Link" column.
std::vector<QPixmap> LinkPictures();
// 0 blank, 1 a star, 2 the trainer's cap, 3 the jockey's helmet.
std::vector<QPixmap> PersonPictures();
// Tips place marks: 0 blank, 1-3 gold, silver and bronze rosettes, 4-9 numbered discs.
std::vector<QPixmap> PlacePictures();
// Tab icons in their list order (pages pick theirs by index: "ALL TABLE" 8, "About" 9,
// "Report" 10, "Proof" 11, every other page its own index).
std::vector<QIcon> TabIcons();
// Tray animation frames: a horseshoe turning.
std::vector<QIcon> TrayFrames();
// Button icons of "ALL TABLE".
QIcon TvIcon();
QIcon ExchangeIcon();
// The page bar's corner: settings and sign out.
QIcon SettingsIcon();
QIcon SignOutIcon();
// The "About" page's background.
QPixmap AboutBackground(QSize size);
// The window icon.
QIcon AppIcon();

}  // namespace trotix::gui
