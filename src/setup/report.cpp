#include "setup/report.hpp"

#include <cstdio>
#include <vector>

#include "common/console.hpp"
#include "common/path.hpp"
#include "platform/inspect.hpp"

namespace {

constexpr int kLabelWidth = 18;

std::vector<std::string> problems;  // in the order found
std::vector<std::string> warnings;

}  // namespace

void Say(const char* label, const std::string& text) {
    Print("%-*s %s\n", kLabelWidth, label, text.c_str());
}

void Block(const std::string& problem) {
    problems.push_back(problem);
    Say("  PROBLEM", problem);
}

void Warn(const std::string& warning) {
    warnings.push_back(warning);
    Say("  WARNING", warning);
}

int Conclude() {
    if (problems.empty() && warnings.empty()) {
        Print("\nThe player would play this installation.\n");
    } else if (problems.empty()) {
        Print("\nThe player would play this installation, but not all of it as written:\n");
    } else {
        Print("\nThe player would not play this installation:\n");
    }
    for (const std::string& problem : problems) Print("PROBLEM: %s\n", problem.c_str());
    for (const std::string& warning : warnings) Print("WARNING: %s\n", warning.c_str());
    return problems.empty() ? 0 : 1;
}

bool SettingsFileToRead(const char* label, const char* name) {
    switch (LookAt(name).kind) {
        case PathKind::kMissing:
            return false;
        case PathKind::kFile:
            return true;
        case PathKind::kFolder:
        case PathKind::kCharacterDevice:
            Say(label, FormatText("%s is not a file: not read", name));
            return false;
        case PathKind::kOther:
            Block(FormatText("%s is a pipe or socket, not a file: the player would wait on it",
                             name));
            return false;
    }
    return false;
}
