// Blank space in a text: removing blanks, tabs and zero bytes, expanding
// each tab into a fixed number of blanks, and folding runs of blanks into
// tabs.  A tab always stands for the same number of blanks, whatever its
// column; line ends are ordinary bytes.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::compress {

// txt without its blanks, tabs and zero bytes.
BSTR RemoveBlanks(Bytes txt);

// Each tab of txt becomes `width` blanks.
BSTR ExpandTabs(Bytes txt, int32_t width);

// Each run of k blanks becomes k / width tabs and k % width blanks.
BSTR CompressBlanksToTabs(Bytes txt, int32_t width);

}  // namespace twinekit::compress
