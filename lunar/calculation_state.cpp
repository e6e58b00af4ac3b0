#include "lunar/calculation_state.h"

namespace toravel {

CalculationState& SharedCalculationState() {
    static CalculationState state;
    return state;
}

} // namespace toravel
