#pragma once
// The exchange's runner information page, read for four amounts.
#include <string>
#include <string_view>

namespace trotix {

// The runner record "A>>B>>C>>D>>" of a runner page: money matched on the event (A), on the
// runner (B), the last matched price (C) and the start price (D, two decimals). Each value is
// the next bold element after its label and before the next label; a missing label or value
// reads as blank, never as another field's value. A and B lose the pound sign and the thousands
// separators only when they are well-formed amounts, and stay as written otherwise. An empty page
// gives "0>>0>>0>>5000,00>>".
std::string RunnerInfo(std::string_view pageText);

}  // namespace trotix
