#include "shell/decode_ahead.hpp"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include "common/state.hpp"
#include "platform/files.hpp"
#include "platform/picture.hpp"
#include "platform/process.hpp"

namespace {

enum class Stage { kWaiting, kDecoding, kDone };

// Size and modification time of a file: a picture decoded ahead is only handed out while its
// file is unchanged (a folder reloaded after new frames were written reuses the names).
struct FileStamp {
    long long size = -1;
    long long modified = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path) {
    std::error_code error;
    const std::filesystem::path native(NativePath(path.c_str()));
    FileStamp stamp;
    const auto size = std::filesystem::file_size(native, error);
    if (error) return stamp;
    const auto modified = std::filesystem::last_write_time(native, error);
    if (error) return stamp;
    stamp.size = static_cast<long long>(size);
    stamp.modified = static_cast<long long>(modified.time_since_epoch().count());
    return stamp;
}

struct Entry {
    uint64_t id;  // tells a re-wanted picture from the one a finished decode belongs to
    AheadPicture want;
    Stage stage;
    cv::Mat picture;  // empty when done and not decodable
    FileStamp stamp;  // of the file as it was decoded
};

// Steps tried when looking ahead: at VR_step 0.1 ten steps make one frame.
constexpr int kMaxLookSteps = 256;

enum class Switch { kUnknown, kOff, kOn };
Switch decode_ahead_switch = Switch::kUnknown;

std::mutex mutex;
std::condition_variable changed;  // new work, a finished decode, or the stop request
std::vector<Entry> entries;       // nearest first
uint64_t next_id = 1;
bool stopping = false;
int decoded_count = 0;

Entry* FindEntry(const AheadPicture& want) {
    for (Entry& entry : entries) {
        if (entry.want.denominator == want.denominator && entry.want.channels == want.channels &&
            entry.want.path == want.path) {
            return &entry;
        }
    }
    return nullptr;
}

Entry* FindEntry(uint64_t id) {
    for (Entry& entry : entries) {
        if (entry.id == id) return &entry;
    }
    return nullptr;
}

void Work() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        Entry* next = nullptr;
        changed.wait(lock, [&next] {
            if (stopping) return true;
            for (Entry& entry : entries) {
                if (entry.stage == Stage::kWaiting) {
                    next = &entry;
                    return true;
                }
            }
            return false;
        });
        if (stopping) {
            ReleasePictureDecoder();
            return;
        }
        next->stage = Stage::kDecoding;
        const uint64_t id = next->id;
        const AheadPicture want = next->want;
        lock.unlock();
        const FileStamp stamp = StampOf(want.path);
        cv::Mat picture = DecodePictureReduced(want.path.c_str(), want.denominator, want.channels);
        lock.lock();
        ++decoded_count;
        if (Entry* entry = FindEntry(id)) {
            entry->picture = std::move(picture);
            entry->stamp = stamp;
            entry->stage = Stage::kDone;
        }
        changed.notify_all();
    }
}

int threads_chosen = 0;  // SetDecodeAheadThreads; 0: from the cores

// The threads live until DecodeAheadStop or the end of the process; defined after the state they
// use, so they are joined before that state goes away at exit.
struct Workers {
    std::vector<std::thread> threads;
    bool Running() const { return !threads.empty(); }
    ~Workers() { DecodeAheadStop(); }
} workers;

}  // namespace

bool DecodeAheadOn() {
    if (decode_ahead_switch == Switch::kUnknown) {
        const char* value = std::getenv("ZELTRAN_DECODE_AHEAD");
        decode_ahead_switch = value && std::strcmp(value, "0") == 0 ? Switch::kOff : Switch::kOn;
    }
    return decode_ahead_switch == Switch::kOn;
}

void SetDecodeAhead(bool on) {
    decode_ahead_switch = on ? Switch::kOn : Switch::kOff;
    if (!on) DecodeAheadStop();
}

int DecodeAheadThreads() {
    if (threads_chosen > 0) return threads_chosen;
    return std::clamp(UsableCores() - 1, 1, kDecodeAheadFrames);
}

void SetDecodeAheadThreads(int count) {
    threads_chosen = count > 0 ? count : 0;
}

void DecodeAheadWant(const std::vector<AheadPicture>& wanted) {
    std::lock_guard<std::mutex> lock(mutex);
    if (wanted.empty() && !workers.Running()) return;
    std::vector<Entry> kept;
    kept.reserve(wanted.size());
    for (const AheadPicture& want : wanted) {
        if (Entry* entry = FindEntry(want)) {
            kept.push_back(std::move(*entry));
            entry->want.path.clear();  // a repeated wish finds the kept entry only once
            entry->want.denominator = 0;
        } else {
            kept.push_back(Entry{next_id++, want, Stage::kWaiting, {}, {}});
        }
    }
    entries = std::move(kept);
    if (!workers.Running()) {
        stopping = false;
        for (int i = DecodeAheadThreads(); i > 0; --i) workers.threads.emplace_back(Work);
    }
    changed.notify_all();
}

cv::Mat DecodeAheadTake(const char* path, int denominator, int channels) {
    std::unique_lock<std::mutex> lock(mutex);
    Entry* entry = FindEntry(AheadPicture{path, denominator, channels});
    if (!entry) return cv::Mat();
    const uint64_t id = entry->id;
    changed.wait(lock, [id] {
        const Entry* found = FindEntry(id);
        return stopping || !found || found->stage != Stage::kDecoding;
    });
    entry = FindEntry(id);
    if (!entry) return cv::Mat();
    cv::Mat picture = entry->stage == Stage::kDone ? std::move(entry->picture) : cv::Mat();
    const FileStamp stamp = entry->stamp;
    entries.erase(entries.begin() + (entry - entries.data()));
    lock.unlock();
    if (!picture.empty() && !(StampOf(path) == stamp)) return cv::Mat();
    return picture;
}

void DecodeAheadWaitIdle() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [] {
        if (stopping || !workers.Running()) return true;
        for (const Entry& entry : entries) {
            if (entry.stage != Stage::kDone) return false;
        }
        return true;
    });
}

void DecodeAheadClear() {
    std::lock_guard<std::mutex> lock(mutex);
    entries.clear();
}

void DecodeAheadStop() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        entries.clear();
    }
    changed.notify_all();
    for (std::thread& thread : workers.threads) thread.join();
    workers.threads.clear();
}

int DecodeAheadCount() {
    std::lock_guard<std::mutex> lock(mutex);
    return decoded_count;
}

std::vector<int> FramesAhead(int count) {
    std::vector<int> frames;
    if (MaxCount <= 0 || VR_step <= 0.0 || (direction != 0 && direction != 1)) return frames;
    double position = frame_no;
    int last = static_cast<int>(frame_no);
    for (int step = 0; step < kMaxLookSteps && static_cast<int>(frames.size()) < count; ++step) {
        // The same arithmetic as the frame advance, so the guesses are the frames it will reach.
        bool at_end = false;
        if (direction == 1) {
            position += VR_step;
            at_end = static_cast<int>(position) >= MaxCount;
            if (at_end) position = wrap_flag ? 0.0 : MaxCount - 1;
        } else {
            position -= VR_step;
            at_end = position < 0.0;
            if (at_end) position = wrap_flag ? MaxCount - 1 : 0.0;
        }
        const int n = static_cast<int>(position);
        if (n == last) {
            if (at_end && !wrap_flag) break;  // stopped at the end: nothing further to show
            continue;
        }
        last = n;
        if (n < 0 || n >= MaxCount || n == static_cast<int>(frame_no)) continue;
        const FrameRecord& record = FrameData[n];
        if (record.loaded == 1 || record.file[0] == '\0') continue;
        bool listed = false;
        for (int f : frames) listed = listed || f == n;
        if (!listed) frames.push_back(n);
    }
    return frames;
}
