// Motion measurement.
#pragma once

// DifferenceSum from grey_pair, published in this copy's slot of the shared block; with the
// camera off, the block's total is followed instead.
void MeasureDifference();
