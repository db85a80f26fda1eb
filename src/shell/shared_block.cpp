#include "shell/shared_block.hpp"

#include "common/state.hpp"

int32_t SI[kSharedWords];

void OpenSharedBlock() {}
void ReadSharedBlock() {}
void WriteSharedBlock() {}
void ClearSharedBlock() {}
