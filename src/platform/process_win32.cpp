#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <bit>
#include <cstdio>
#include <cstdlib>

#include "platform/process.hpp"
#include "platform/service_notify.hpp"
#include "platform/wide_text_win32.hpp"
#include "platform/window.hpp"

namespace {

// Before any output: a console window shows the UTF-8 texts as text, and a pipe or a file gets
// the same bytes as on Linux (no "\r" put before each "\n").
const bool console_prepared = [] {
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return true;
}();

// Ctrl+C, Ctrl+Break and closing the console window run the quit path. Windows ends the process
// once the handler returns from a close, so the handler gives the main loop time to finish.
BOOL WINAPI OnConsoleEvent(DWORD event) {
    RequestQuit();
    if (event == CTRL_CLOSE_EVENT) Sleep(4000);
    return TRUE;
}

// One argument as the C runtime of the started program splits it again (backslashes are literal
// except before a quote), so that any file name reaches the converter unchanged.
std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring quoted = L"\"";
    for (size_t i = 0;; ++i) {
        size_t backslashes = 0;
        while (i < argument.size() && argument[i] == L'\\') {
            ++backslashes;
            ++i;
        }
        if (i == argument.size()) {
            quoted.append(backslashes * 2, L'\\');
            break;
        }
        if (argument[i] == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        quoted.push_back(argument[i]);
    }
    quoted.push_back(L'"');
    return quoted;
}

HANDLE Inheritable(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    return handle;
}

}  // namespace

void InstallQuitSignals() {
    (void)console_prepared;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void EndProcess(int status) {
    ServiceStopping();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(status);
}

bool IsExecutableFile(const char* path) {
    const DWORD attributes = GetFileAttributesW(WideText(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string ProgramFileName(const char* program) {
    return std::string(program) + ".exe";
}

std::string InWorkingFolder(const std::string& name) {
    return ".\\" + name;
}

std::string FindOnPath(const char* program) {
    const char* path = std::getenv("PATH");
    if (!path) return {};
    const std::string list(path);
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) {
            const std::string candidate = list.substr(start, end - start) + "\\" + program;
            if (IsExecutableFile(candidate.c_str())) return candidate;
        }
        start = end + 1;
    }
    return {};
}

int RunProgram(const std::vector<std::string>& argv) {
    if (argv.empty()) return -1;
    std::fflush(stdout);
    std::fflush(stderr);
    std::wstring command_line;
    for (const std::string& argument : argv) {
        if (!command_line.empty()) command_line += L' ';
        command_line += Quoted(WideText(argument));
    }
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE nothing = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = Inheritable(STD_OUTPUT_HANDLE);
    startup.hStdError = Inheritable(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    // The program by its name, never through a command interpreter.
    const BOOL started = CreateProcessW(WideText(argv[0]).c_str(), command_line.data(), nullptr,
                                        nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    if (nothing != INVALID_HANDLE_VALUE) CloseHandle(nothing);
    if (!started) return -1;
    CloseHandle(child.hThread);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD status = 0;
    const BOOL known = GetExitCodeProcess(child.hProcess, &status);
    CloseHandle(child.hProcess);
    return known ? static_cast<int>(status) : -1;
}

int UsableCores() {
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system)) return 1;
    const int count = std::popcount(static_cast<unsigned long long>(process));
    return count > 0 ? count : 1;
}

std::string ProgramFolder() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return "";
    const std::string program = Utf8Text(path.substr(0, length));
    return program.substr(0, program.find_last_of("\\/"));
}
