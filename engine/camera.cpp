#include "engine/camera.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/assertion.h"
#include "engine/algebra.h"

// ---- scene file readers ----
