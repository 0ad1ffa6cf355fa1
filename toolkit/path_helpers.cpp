#include "path_helpers.h"
