// The PNG decoder the tests read images back with.
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"
