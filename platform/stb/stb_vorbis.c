/* The Ogg Vorbis decoder, compiled once as C in a target of its own: the Debian header is the whole
   library, implementation included, and is not written for our warning flags. */
#include <stb/stb_vorbis.h>
