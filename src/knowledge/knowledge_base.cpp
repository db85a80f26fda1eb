#include "knowledge/knowledge_base.hpp"

#include <memory>
#include <vector>

#include "common/byte_layout.hpp"
#include "common/console.hpp"
#include "common/knowledge_state.hpp"
#include "common/path.hpp"
#include "common/scan.hpp"
#include "common/state.hpp"
#include "platform/files.hpp"
#include "platform/window.hpp"

namespace {

// The cells that hold a record, so that freeing them does not walk all 51,200.
std::vector<SampleCell*> used_cells;

constexpr int kKnowledgeFiles = 4;
constexpr size_t kGestureEntryBytes = kGestureNameBytes + 4 + 4;
constexpr size_t kTraceEntryBytes = 4 + 4 + 8 + 8;  // valid, 4 padding bytes, score, sample_no
constexpr size_t kSampleBytes = 16 + 2 * kRays * 8;
constexpr size_t kFile2Bytes =
    kGestures * kGestureEntryBytes +
    kGestures * kGestures * kViewPoints * kTraceEntries * kTraceEntryBytes + kViewPoints * 4 +
    kViewPoints * kGestures * 4;
constexpr size_t kFile3Bytes = 4 * kGestures * 8 + kGestures * kViewPoints * 8 +
                               kGestures * kReviewSlots * (8 + 4) + kGestures * 4 + kViewPoints * 4;
static_assert(kFile2Bytes == 9831776 && kFile3Bytes == 2752 && kSampleBytes == 1040);
constexpr double kAbnormalValue = 1e9;  // Re / Ps values above this are reported

const char* const kClosingBanner[] = {
    "\nReadKB:\n         OOO            O \n",
    "        O               O \n",
    "        O       OOOO    O \n",
    "        O OOOO O    O   O \n",
    "        O   O  O    O   O \n",
    "        O   O  O    O     \n",
    "         OOO    OOOO    O \n\n",
};

}  // namespace

// Entry layouts of file 2; the array walk of byte_layout.hpp finds them by their argument type.
static void Transfer(ByteCursor& cursor, GestureEntry& entry) {
    Transfer(cursor, entry.gesture_name);
    Transfer(cursor, entry.gesture_id);
    Transfer(cursor, entry.learned_mflg);
}

static void Transfer(ByteCursor& cursor, TraceEntry& entry) {
    Transfer(cursor, entry.valid);
    SkipBytes(cursor, 4);
    Transfer(cursor, entry.score);
    Transfer(cursor, entry.sample_no);
}

namespace {

// The spare word of a sample carries nothing and is not taken from the file.
void TransferSample(ByteCursor& cursor, kb_sample& sample) {
    Transfer(cursor, sample.view_point);
    Transfer(cursor, sample.gesture);
    Transfer(cursor, sample.sample);
    SkipBytes(cursor, 4);
    Transfer(cursor, sample.Re);
    Transfer(cursor, sample.Ps);
}

void File2Layout(ByteCursor& cursor) {
    Transfer(cursor, gesture_table);
    Transfer(cursor, feature_trace);
    Transfer(cursor, ViewPointEnable);
    Transfer(cursor, NumSamples);
}

void File3Layout(ByteCursor& cursor) {
    Transfer(cursor, OK_VAR);
    Transfer(cursor, spare_level);
    Transfer(cursor, VAR_LIMIT);
    Transfer(cursor, RATIO_LIMIT);
    Transfer(cursor, ViewPointGain);
    Transfer(cursor, ReviewSum);
    Transfer(cursor, ReviewCount);
    Transfer(cursor, trace_count);
    Transfer(cursor, user_row_mask);
}

// File 1: the 21 scalars as text, value by value; the first fifteen are echoed on one line.
void ReadScalars(const std::string& name) {
    FILE* file = OpenKnowledgeFile(name, "r");
    if (!file) return;
    ScanInt(file, &DThreshold);
    ScanInt(file, &OK_HIGH);
    ScanDouble(file, &OCThreshold);
    ScanInt(file, &MThreshold);
    ScanInt(file, &pos_num);
    ScanInt(file, &GRATE);
    ScanDouble(file, &GRATE_SUM);
    ScanInt(file, &GRATE_COUNT);
    ScanInt(file, &NEROI);
    ScanDouble(file, &SKIP);
    ScanDouble(file, &GRATE_SUM2);
    ScanDouble(file, &RSKIP);
    ScanInt(file, &GRATE_COUNT2);
    ScanDouble(file, &RF_COEFFICIENT);
    ScanInt(file, &IdealGRATE);
    Print("DThreshold=%d OK_HIGH=%d OCThreshold=%lf MThreshold=%d pos_num=%d ", DThreshold, OK_HIGH,
          OCThreshold, MThreshold, pos_num);
    Print("GRATE=%d GRATE_SUM=%lf GRATE_COUNT=%d NEROI=%d SKIP=%lf GRATE_SUM2=%lf ", GRATE,
          GRATE_SUM, GRATE_COUNT, NEROI, SKIP, GRATE_SUM2);
    Print("RSKIP=%lf GRATE_COUNT2=%d RF_COEFFICIENT=%lf IdealGRATE=%d \n", RSKIP, GRATE_COUNT2,
          RF_COEFFICIENT, IdealGRATE);
    ScanInt(file, &similar_passes_left);
    ScanDouble(file, &weight_epsilon);
    ScanInt(file, &HOLD_COUNT);
    ScanDouble(file, &spare_ratio);
    ScanInt(file, &countdown_unit);
    ScanInt(file, &use_user_rows);
    std::fclose(file);
}

// Files 2 and 3: one block read each over their arrays.
void ReadArrays(const std::string& name, size_t bytes, void (*layout)(ByteCursor&)) {
    FILE* file = OpenKnowledgeFile(name, "rb");
    if (!file) return;
    ReadLayout(file, bytes, layout);
    std::fclose(file);
}

bool IndexesInRange(const kb_sample& sample) {
    return sample.view_point >= 0 && sample.view_point < kViewPoints && sample.gesture >= 0 &&
           sample.gesture < kGestures && sample.sample >= 0 && sample.sample < kSamples;
}

// Values above 1e9 are only reported; they are stored as read.
void ReportAbnormalValues(const kb_sample& sample) {
    for (double value : sample.Re) {
        if (value > kAbnormalValue) {
            Print("Abnormal Data Exist in Re(%d %d %d)\n", sample.view_point, sample.gesture,
                  sample.sample);
        }
    }
    for (double value : sample.Ps) {
        if (value > kAbnormalValue) {
            Print("Abnormal Data Exist in Ps(%d %d %d)\n", sample.view_point, sample.gesture,
                  sample.sample);
        }
    }
}

// File 4: whole records up to one per cell; a record with an index outside its range ends the
// reading, the records taken before it stay. False when the file does not open.
bool ReadSamples(const std::string& name) {
    FILE* file = OpenKnowledgeFile(name, "rb");
    if (!file) return false;
    for (int number = 0; number < kSampleCells; ++number) {
        kb_sample sample{};
        const size_t got =
            ReadLayout(file, kSampleBytes, [&](ByteCursor& c) { TransferSample(c, sample); });
        if (got < kSampleBytes) break;
        if (!IndexesInRange(sample)) {
            Print("Illegal Index Number Detected in ReadKB(). Data Number = %d\n", number);
            Print("index1=%d, index2=%d,  index3=%d\n", sample.view_point, sample.gesture,
                  sample.sample);
            break;
        }
        SampleCell& cell = SampleStore[sample.view_point][sample.gesture][sample.sample];
        cell.record = std::make_unique<kb_sample>(sample);  // frees a record the cell held
        if (!cell.used) used_cells.push_back(&cell);
        cell.used = 1;
        ReportAbnormalValues(sample);
    }
    std::fclose(file);
    return true;
}

}  // namespace

FILE* OpenKnowledgeFile(const std::string& name, const char* mode) {
    FILE* file = OpenFile(name.c_str(), mode);
    if (!file) PrintError("Couldn't Open File in ReadKB()-[ %s ].\n", name.c_str());
    return file;
}

int ReadKB() {
    std::string names[kKnowledgeFiles];
    for (int k = 0; k < kKnowledgeFiles; ++k) {
        names[k] =
            FormatPath("TRUVO_data-%lld-%d.dat", static_cast<long long>(folder_index) + 1, k + 1);
    }
    for (const std::string& name : names) {
        if (!CanOpenForReading(name.c_str())) return -1;
    }
    FreeKnowledgeBase();
    ReadScalars(names[0]);
    ReadArrays(names[1], kFile2Bytes, File2Layout);
    ReadArrays(names[2], kFile3Bytes, File3Layout);
    if (!ReadSamples(names[3])) return 0;
    WindowWaitKey(1);
    if (CamBeep) PrintText("\a");
    for (const char* line : kClosingBanner) PrintText(line);
    return 0;
}

void FreeKnowledgeBase() {
    for (SampleCell* cell : used_cells) {
        cell->record.reset();
        cell->used = 0;
    }
    used_cells.clear();
}
