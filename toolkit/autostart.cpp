#include "autostart.h"
