#pragma once
// The grid model: the system's working data. Columns are addressed by index; every cell holds
// text, a number or an image index, plus a colour, a bold flag and a hint. Plain data, cheap to
// copy, so the window can show snapshots.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trotix {

enum class ColumnKind { Text, Number, Image };

struct Column {
  std::string caption;
  ColumnKind kind = ColumnKind::Text;
  bool hidden = false;
  std::string hint;    // header hint
  bool price = false;  // holds a price, which may be missing (see model/prices.h)
  bool operator==(const Column&) const = default;
};

struct Rgb {
  std::uint8_t r = 255, g = 255, b = 255;
  // The platform's colour value: red in the low byte, blue in the high byte.
  std::uint32_t Value() const { return r | (g << 8) | (b << 16); }
  bool operator==(const Rgb&) const = default;
};

namespace colors {
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kLightGreen{183, 255, 183};  // indicator runners, value 12058551
inline constexpr Rgb kLime{0, 255, 0};            // top-rated runner's Rank
inline constexpr Rgb kLightRed{255, 157, 157};    // a lengthening price
inline constexpr Rgb kMoveGreen{128, 255, 128};   // a shortening price
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kNavy{0, 0, 128};
inline constexpr Rgb kLightBlue{151, 151, 255};
inline constexpr Rgb kPurple{128, 0, 128};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
}  // namespace colors

struct Cell {
  std::string text;              // text cells
  double value = 0;              // number cells
  int image = 0;                 // image cells
  std::optional<Rgb> color;      // background; unset: the column's own colour
  std::optional<Rgb> fontColor;  // text colour; unset: the default one
  bool bold = false;
  std::string hint;
  bool operator==(const Cell&) const = default;
};

class Table {
 public:
  Table() = default;
  explicit Table(std::vector<Column> columns)
      : Table(std::make_shared<const std::vector<Column>>(std::move(columns))) {}
  // Columns shared with other tables of the same schema: a copy of the table copies its rows
  // only (the window copies every grid for each race of a long run).
  explicit Table(std::shared_ptr<const std::vector<Column>> columns)
      : columns_(std::move(columns)) {}

  const std::vector<Column>& Columns() const { return *columns_; }
  int ColumnCount() const { return static_cast<int>(columns_->size()); }
  int RowCount() const { return static_cast<int>(rows_.size()); }

  // Appends a row of default cells and returns its index.
  int AddRow();
  // Adds or removes rows at the end; existing rows keep their cells.
  void SetRowCount(int n);
  void DeleteRow(int row);
  void ClearRows() { rows_.clear(); }

  Cell& At(int row, int col) { return rows_.at(row).at(col); }
  const Cell& At(int row, int col) const { return rows_.at(row).at(col); }
  const std::vector<Cell>& Row(int row) const { return rows_.at(row); }

  // Display text: the text of a text cell, the general comma form of a number cell, empty for
  // an image cell.
  std::string Text(int row, int col) const;
  // Writes text; a number cell reads it as a decimal number (0 when it is none).
  void SetText(int row, int col, std::string text);
  double Number(int row, int col) const { return At(row, col).value; }
  void SetNumber(int row, int col, double v) { At(row, col).value = v; }
  // The number rounded to the nearest integer, halves to even.
  int Integer(int row, int col) const;
  int Image(int row, int col) const { return At(row, col).image; }
  void SetImage(int row, int col, int image) { At(row, col).image = image; }
  void SetColor(int row, int col, Rgb c) { At(row, col).color = c; }
  // The cell's colour, white when it was never set.
  Rgb ColorOf(int row, int col) const { return At(row, col).color.value_or(colors::kWhite); }

  // Stable ascending sort by a column: numbers by value, text byte-wise.
  void SortByColumn(int col);

  bool operator==(const Table& other) const {
    return (columns_ == other.columns_ || *columns_ == *other.columns_) && rows_ == other.rows_;
  }

 private:
  std::shared_ptr<const std::vector<Column>> columns_ =
      std::make_shared<const std::vector<Column>>();
  std::vector<std::vector<Cell>> rows_;
};

}  // namespace trotix
