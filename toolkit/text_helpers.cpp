#include "text_helpers.h"
