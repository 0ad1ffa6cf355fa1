#include "app_log.h"
