#include "ui/ContinueFlag.h"

namespace {
int g_bOwnFlag = 1;
int* g_pFlag = &g_bOwnFlag;
}  // namespace

void CContinueFlag::Bind(int* pFlag) {
    g_pFlag = pFlag ? pFlag : &g_bOwnFlag;
}
int CContinueFlag::Get() {
    return *g_pFlag;
}
void CContinueFlag::Set(int bValue) {
    *g_pFlag = bValue;
}
