// The PNG encoder's implementation, compiled once for the whole tool.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"
