#include "lcd/display_config.h"

DisplayConfig display_config;
