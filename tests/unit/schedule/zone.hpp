// Time zones and moments for the opening-hours tests.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

#include "schedule/schedule.hpp"

// Runs a test in a time zone, and puts the process's zone back afterwards.
class Zone {
  public:
    explicit Zone(const char* zone) {
        const char* previous = std::getenv("TZ");
        had_ = previous != nullptr;
        if (had_) previous_ = previous;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~Zone() {
        if (had_) {
            setenv("TZ", previous_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    bool had_ = false;
    std::string previous_;
};

// A moment given in UTC.
inline time_t Utc(int year, int month, int day, int hour, int minute) {
    return static_cast<time_t>(DayNumber(year, month, day) * 86400 + hour * 3600 + minute * 60);
}
