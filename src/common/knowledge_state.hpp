// The knowledge base of the current contents folder: learned gesture samples, the traces of the
// learning passes, per-gesture levels and the tuning scalars. Loaded by ReadKB from the files
// TRUVO_data-N-1.dat .. -4.dat and defined in knowledge/knowledge_base.cpp; nothing else in the
// player reads it. All of it lives for the whole run.
#pragma once

#include <cstdint>
#include <memory>

// ---- Dimensions -------------------------------------------------------------------------------

constexpr int kViewPoints = 32;     // observation regions, 8 groups of 4
constexpr int kGestures = 8;        // learnable body motions
constexpr int kSamples = 200;       // stored samples of one gesture at one view point
constexpr int kTraceEntries = 200;  // recorded frames of one learning pass
constexpr int kRays = 64;           // values of one profile (Re) and of its spectrum (Ps)
constexpr int kReviewSlots = 3;     // ReviewSum / ReviewCount entries of one gesture
constexpr int kGestureNameBytes = 20;
constexpr int kSampleCells = kViewPoints * kGestures * kSamples;  // 51,200

// ---- Sample store -----------------------------------------------------------------------------

// One stored sample; its file image is 1040 bytes in this order.
struct kb_sample {
    int32_t view_point;  // 0..31
    int32_t gesture;     // 0..7
    int32_t sample;      // 0..199
    int32_t spare;       // carries nothing
    double Re[kRays];    // 64-ray profile
    double Ps[kRays];    // its 64-value spectrum
};
static_assert(sizeof(kb_sample) == 1040, "a stored sample is 1040 bytes");

// A cell is either empty (used 0, no record) or occupied (used 1, exactly one record).
struct SampleCell {
    int32_t used;
    std::unique_ptr<kb_sample> record;
};

extern SampleCell SampleStore[kViewPoints][kGestures][kSamples];  // [view point][gesture][sample]
extern int32_t NumSamples[kViewPoints][kGestures];  // highest sample number stored, from 1; -1 none

// ---- Gesture table and feature trace ----------------------------------------------------------

struct GestureEntry {
    char gesture_name[kGestureNameBytes];  // NUL-terminated; "A" .. "H" at start
    int32_t gesture_id;                    // the entry's own index
    int32_t learned_mflg;                  // sample counter of the gesture's last learning pass
};

struct TraceEntry {
    int32_t valid;  // 1 when the entry holds data
    double score;
    double sample_no;
};

extern GestureEntry gesture_table[kGestures];
// [learning gesture][scored gesture][view point][entry], 9.8 MB.
extern TraceEntry feature_trace[kGestures][kGestures][kViewPoints][kTraceEntries];

// ---- Per-gesture arrays -----------------------------------------------------------------------

extern double OK_VAR[kGestures];                      // start 1e10
extern double spare_level[kGestures];                 // start -1.0
extern double VAR_LIMIT[kGestures];                   // start 2e6
extern double RATIO_LIMIT[kGestures];                 // start 0.999999
extern double ViewPointGain[kGestures][kViewPoints];  // start 0
extern double ReviewSum[kGestures][kReviewSlots];     // start 0
extern int32_t ReviewCount[kGestures][kReviewSlots];  // start 0
extern int32_t trace_count[kGestures];                // start 0

// ---- View-point masks -------------------------------------------------------------------------

extern int32_t ViewPointEnable[kViewPoints];  // start all 1; stored as read
extern int32_t user_row_mask[kViewPoints];    // start all 1; stored as read

// ---- Tuning scalars, in the order of file 1 ---------------------------------------------------

extern int32_t DThreshold;           // start 40
extern int32_t OK_HIGH;              // start 500
extern double OCThreshold;           // start -1.0
extern int32_t MThreshold;           // start 40
extern int32_t pos_num;              // start 0
extern int32_t GRATE;                // start 60
extern double GRATE_SUM;             // start 0
extern int32_t GRATE_COUNT;          // start 0
extern int32_t NEROI;                // start 32
extern double SKIP;                  // start 1.0
extern double GRATE_SUM2;            // start 0
extern double RSKIP;                 // start 1.0
extern int32_t GRATE_COUNT2;         // start 0
extern double RF_COEFFICIENT;        // start 0.01
extern int32_t IdealGRATE;           // start 0
extern int32_t similar_passes_left;  // start 0
extern double weight_epsilon;        // start 0.1
extern int32_t HOLD_COUNT;           // start 8
extern double spare_ratio;           // start 8.0
extern int32_t countdown_unit;       // start 5
extern int32_t use_user_rows;        // start 0
