#include "help_links.h"
