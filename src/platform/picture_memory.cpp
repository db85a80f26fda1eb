#include "platform/picture_memory.hpp"

#include <mutex>
#include <vector>

namespace {

constexpr size_t kSmallestKept = 1 << 20;  // smaller blocks come cheaply from malloc anyway

class Recycler : public cv::MatAllocator {
  public:
    cv::UMatData* allocate(int dims, const int* sizes, int type, void* data, size_t* step,
                           cv::AccessFlag, cv::UMatUsageFlags) const override {
        size_t total = CV_ELEM_SIZE(type);
        for (int i = dims - 1; i >= 0; --i) {
            if (step) {
                if (data && step[i] != cv::Mat::AUTO_STEP) {
                    total = step[i];
                } else {
                    step[i] = total;
                }
            }
            total *= static_cast<size_t>(sizes[i]);
        }
        auto* u = new cv::UMatData(this);
        u->size = total;
        if (data) {
            u->data = u->origdata = static_cast<uchar*>(data);
            u->flags |= cv::UMatData::USER_ALLOCATED;
            return u;
        }
        u->data = u->origdata = Take(total);
        return u;
    }

    bool allocate(cv::UMatData* u, cv::AccessFlag, cv::UMatUsageFlags) const override {
        return u != nullptr;
    }

    void deallocate(cv::UMatData* u) const override {
        if (!u) return;
        if (!(u->flags & cv::UMatData::USER_ALLOCATED)) Give(u->origdata, u->size);
        delete u;
    }

    void SetLimit(int64_t bytes) {
        std::lock_guard<std::mutex> lock(mutex_);
        limit_ = bytes;
        TrimLocked(limit_);
    }

    int64_t Kept() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int64_t>(kept_.size() * kept_size_);
    }

  private:
    uchar* Take(size_t size) const {
        if (size >= kSmallestKept) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (size == kept_size_ && !kept_.empty()) {
                uchar* block = kept_.back();
                kept_.pop_back();
                return block;
            }
            // Another size (another folder or scale): the kept blocks will not be asked for.
            TrimLocked(0);
        }
        return static_cast<uchar*>(cv::fastMalloc(size));
    }

    void Give(uchar* block, size_t size) const {
        if (size >= kSmallestKept) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!kept_.empty() && size != kept_size_) TrimLocked(0);
            if (static_cast<int64_t>((kept_.size() + 1) * size) <= limit_) {
                kept_size_ = size;
                kept_.push_back(block);
                return;
            }
        }
        cv::fastFree(block);
    }

    // Frees kept blocks until they take at most bytes together.
    void TrimLocked(int64_t bytes) const {
        while (!kept_.empty() && static_cast<int64_t>(kept_.size() * kept_size_) > bytes) {
            cv::fastFree(kept_.back());
            kept_.pop_back();
        }
    }

    mutable std::mutex mutex_;
    mutable std::vector<uchar*> kept_;
    mutable size_t kept_size_ = 0;
    int64_t limit_ = 0;
};

// Never destroyed: pictures held in other files' static storage may be freed after this file's
// statics are gone at exit.
Recycler& TheRecycler() {
    static auto* recycler = new Recycler;
    return *recycler;
}

}  // namespace

cv::MatAllocator* RecycledPictureMemory() {
    return &TheRecycler();
}

void SetRecycledPictureLimit(int64_t bytes) {
    TheRecycler().SetLimit(bytes);
}

int64_t RecycledPictureBytes() {
    return TheRecycler().Kept();
}
