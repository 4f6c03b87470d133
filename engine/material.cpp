#include "engine/material.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/assertion.h"
#include "engine/algebra.h"
#include "engine/color.h"
#include "engine/image.h"

// ---- scene file readers ----
