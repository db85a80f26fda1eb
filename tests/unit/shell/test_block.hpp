// A shared block of its own for each test: a unique name in ZELTRAN_SHM_NAME, unlinked at the end.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

class TestBlockName {
  public:
    TestBlockName() {
        static int count = 0;
        name_ = "zeltran-test-" + std::to_string(getpid()) + "-" + std::to_string(++count);
        setenv("ZELTRAN_SHM_NAME", name_.c_str(), 1);
    }
    ~TestBlockName() { shm_unlink(("/" + name_).c_str()); }
    TestBlockName(const TestBlockName&) = delete;
    TestBlockName& operator=(const TestBlockName&) = delete;

    const std::string& name() const { return name_; }

  private:
    std::string name_;
};
