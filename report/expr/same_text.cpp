#include "report/expr/same_text.h"

namespace report::expr {

namespace {

// One folded code unit sequence step: returns the folded byte pair (or byte)
// and advances `i`.
unsigned Fold(std::string_view s, std::size_t& i) {
  const auto c = static_cast<unsigned char>(s[i++]);
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  if (c != 0xC3 || i >= s.size()) return c;
  // U+00C0..U+00DE (except U+00D7, the multiplication sign) fold to U+00E0..U+00FE.
  auto next = static_cast<unsigned char>(s[i++]);
  if (next >= 0x80 && next <= 0x9E && next != 0x97) next += 0x20;
  return 0xC300u | next;
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;  // folding keeps the byte length
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (a[i] == b[j] && static_cast<unsigned char>(a[i]) < 0x80) {
      ++i;
      ++j;
      continue;
    }
    if (Fold(a, i) != Fold(b, j)) return false;
  }
  return i == a.size() && j == b.size();
}

}  // namespace report::expr
