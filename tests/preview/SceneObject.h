// Moved to tests/support; kept until the CLI tests include it from there.
#pragma once
#include "support/SceneObject.h"
