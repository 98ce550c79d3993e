// Settings files saved as UTF-16 ("Unicode" in Notepad) are turned into UTF-8
// before their lines are split, so that the reader's byte rules see text.
#pragma once

#include <string>
#include <string_view>

namespace sashcaster {

// True when the bytes begin with FF FE (little-endian) or FE FF (big-endian).
bool startsWithUtf16Mark(std::string_view bytes);

// The text after the mark as UTF-8. Surrogate pairs are combined; an unpaired
// surrogate, or a last odd byte, becomes U+FFFD. Call only when
// startsWithUtf16Mark holds.
std::string utf16ToUtf8(std::string_view bytes);

}  // namespace sashcaster
