#include "machine/ParameterSet.h"

namespace korvel::machine {

static_assert(kParameterRequiredLines < kParameterLineCount);

} // namespace korvel::machine
