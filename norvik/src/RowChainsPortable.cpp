// The serial row decoders for any processor.

#include "RowChains.h"

namespace norvik::portable {
#include "RowChains.inc"
}  // namespace norvik::portable
