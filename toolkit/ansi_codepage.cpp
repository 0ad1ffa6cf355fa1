#include "ansi_codepage.h"
