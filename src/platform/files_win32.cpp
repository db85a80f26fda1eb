// Files on Windows, through the C runtime's narrow calls: the program's manifest makes UTF-8 the
// code page they use, so file names are UTF-8 as on Linux. Windows takes '/' as well as '\'.
#include <windows.h>

#include <cstring>

#include "common/console.hpp"
#include "platform/files.hpp"
#include "platform/wide_text_win32.hpp"

namespace {

// The names "del folder\*.jpg" would take, as on Linux: lower-case .jpg, no hidden names.
bool IsJpegName(const std::string& name) {
    return name.size() > 4 && name[0] != '.' && name.compare(name.size() - 4, 4, ".jpg") == 0;
}

// Plain files may be removed; a link (a junction or symbolic link) is left alone, as is its target.
bool IsRemovableEntry(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WideText(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

// The volume and file index of a folder: what the inode number is on Linux.
bool FolderIdentity(const std::string& path, BY_HANDLE_FILE_INFORMATION* identity) {
    HANDLE folder = CreateFileW(WideText(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(folder, identity) != 0;
    CloseHandle(folder);
    return known;
}

}  // namespace

std::string NativePath(const char* path) {
    std::string native(path);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}

bool PathExists(const char* path) {
    return GetFileAttributesW(WideText(NativePath(path)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CanOpenForReading(const char* path) {
    FILE* file = OpenFile(path, "r");
    if (!file) return false;
    std::fclose(file);
    return true;
}

FILE* OpenFile(const char* path, const char* mode) {
    // Binary always: a frame list or settings file reads the same bytes as on Linux.
    std::string binary(mode);
    if (binary.find('b') == std::string::npos) binary += 'b';
    return _wfopen(WideText(NativePath(path)).c_str(), WideText(binary).c_str());
}

void PrintWorkingFolder() {
    wchar_t folder[32768];
    if (GetCurrentDirectoryW(32768, folder) > 0) Print("%s\n", Utf8Text(folder).c_str());
}

bool ListFolder(const char* path, std::vector<std::string>* names) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(WideText(NativePath(path) + "/*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return false;
    names->clear();
    do {
        if (std::wcscmp(entry.cFileName, L".") == 0 || std::wcscmp(entry.cFileName, L"..") == 0) {
            continue;
        }
        names->push_back(Utf8Text(entry.cFileName));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return true;
}

bool MakeFolder(const char* path) {
    const std::wstring native = WideText(NativePath(path));
    if (CreateDirectoryW(native.c_str(), nullptr)) return true;
    const DWORD attributes = GetFileAttributesW(native.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int RemoveJpegFiles(const char* folder) {
    std::vector<std::string> names;
    if (!ListFolder(folder, &names)) return 0;
    const std::string base = NativePath(folder) + "/";
    int removed = 0;
    for (const std::string& name : names) {
        if (!IsJpegName(name)) continue;
        const std::string path = base + name;
        if (IsRemovableEntry(path) && DeleteFileW(WideText(path).c_str())) ++removed;
    }
    return removed;
}

bool WouldRemoveJpeg(const char* path, const char* folder) {
    const std::string native = NativePath(path);
    const size_t slash = native.find_last_of('/');
    const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
    const std::string parent = slash == std::string::npos ? "." : native.substr(0, slash + 1);
    if (!IsJpegName(name) || !IsRemovableEntry(native)) return false;
    BY_HANDLE_FILE_INFORMATION parent_identity;
    BY_HANDLE_FILE_INFORMATION folder_identity;
    return FolderIdentity(parent, &parent_identity) &&
           FolderIdentity(NativePath(folder), &folder_identity) &&
           parent_identity.dwVolumeSerialNumber == folder_identity.dwVolumeSerialNumber &&
           parent_identity.nFileIndexHigh == folder_identity.nFileIndexHigh &&
           parent_identity.nFileIndexLow == folder_identity.nFileIndexLow;
}
