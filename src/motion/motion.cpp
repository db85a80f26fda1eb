#include "motion/motion.hpp"

#include "common/state.hpp"

int32_t DifferenceSum = 0;
int32_t sample_step = 4;

void MeasureDifference() {}
