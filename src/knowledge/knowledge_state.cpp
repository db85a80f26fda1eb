// The knowledge-base state with its values at program start.
#include "common/knowledge_state.hpp"

SampleCell SampleStore[kViewPoints][kGestures][kSamples];

namespace {

// NumSamples starts at -1 everywhere: no sample stored for any pair.
struct NumSamplesStart {
    NumSamplesStart() {
        for (auto& row : NumSamples) {
            for (int32_t& count : row) count = -1;
        }
    }
};

}  // namespace

int32_t NumSamples[kViewPoints][kGestures];
static NumSamplesStart num_samples_start;

GestureEntry gesture_table[kGestures] = {{"A", 0, 0}, {"B", 1, 0}, {"C", 2, 0}, {"D", 3, 0},
                                         {"E", 4, 0}, {"F", 5, 0}, {"G", 6, 0}, {"H", 7, 0}};
TraceEntry feature_trace[kGestures][kGestures][kViewPoints][kTraceEntries];

double OK_VAR[kGestures] = {1e10, 1e10, 1e10, 1e10, 1e10, 1e10, 1e10, 1e10};
double spare_level[kGestures] = {-1.0, -1.0, -1.0, -1.0, -1.0, -1.0, -1.0, -1.0};
double VAR_LIMIT[kGestures] = {2e6, 2e6, 2e6, 2e6, 2e6, 2e6, 2e6, 2e6};
double RATIO_LIMIT[kGestures] = {0.999999, 0.999999, 0.999999, 0.999999,
                                 0.999999, 0.999999, 0.999999, 0.999999};
double ViewPointGain[kGestures][kViewPoints];
double ReviewSum[kGestures][kReviewSlots];
int32_t ReviewCount[kGestures][kReviewSlots];
int32_t trace_count[kGestures];

int32_t ViewPointEnable[kViewPoints] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                        1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
int32_t user_row_mask[kViewPoints] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                                      1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

int32_t DThreshold = 40;
int32_t OK_HIGH = 500;
double OCThreshold = -1.0;
int32_t MThreshold = 40;
int32_t pos_num = 0;
int32_t GRATE = 60;
double GRATE_SUM = 0.0;
int32_t GRATE_COUNT = 0;
int32_t NEROI = 32;
double SKIP = 1.0;
double GRATE_SUM2 = 0.0;
double RSKIP = 1.0;
int32_t GRATE_COUNT2 = 0;
double RF_COEFFICIENT = 0.01;
int32_t IdealGRATE = 0;
int32_t similar_passes_left = 0;
double weight_epsilon = 0.1;
int32_t HOLD_COUNT = 8;
double spare_ratio = 8.0;
int32_t countdown_unit = 5;
int32_t use_user_rows = 0;
