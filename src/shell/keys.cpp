#include "shell/keys.hpp"

#include "common/state.hpp"

int32_t flip_mode = 0;
int32_t VARIABLE_SIZE_FLAG = 0;
int32_t contents_list[kMaxListedFolders];
int32_t contents_count = 0;
int32_t contents_listed = 0;

bool RunKeyCommand(int) { return true; }
void PrintFolderMessage() {}
