// Shared by the fuzz targets: a private working folder beside a contents folder that always holds
// a frame, stdout silenced, and input files written from the fuzzer's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Makes <base>/zeltran-fuzz-<pid>/work the current folder (once), with ../S001/clip_00000.jpg, and
// sends stdout to /dev/null. The base is /dev/shm (memory) where there is one, else the temporary
// folder; the tree is removed when the process exits.
void FuzzSetUp();

// Writes bytes to name in the working folder, replacing it.
void WriteInputFile(const std::string& name, const uint8_t* data, size_t size);

// Removes name from the working folder if present.
void RemoveInputFile(const std::string& name);

// Splits data at each occurrence of the two bytes 0xFF 0x00: one fuzz input carries several files.
std::vector<std::string> SplitParts(const uint8_t* data, size_t size);
