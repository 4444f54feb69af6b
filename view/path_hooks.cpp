#include "view/path_hooks.h"

PathHooks g_PathHooks;
