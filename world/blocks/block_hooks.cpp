#include "world/blocks/block_hooks.h"

YBlockHooks& BlockHooks() {
    static YBlockHooks hooks;
    return hooks;
}
