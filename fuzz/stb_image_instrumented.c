// The image decoder built into the texture fuzzer from the same header the
// library's libstb comes from, so that libFuzzer sees its branches and the
// sanitizers its memory accesses. Definitions in the executable take the
// place of the shared library's.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
