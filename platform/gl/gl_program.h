// Compiling and linking GLSL programs for the OpenGL device. Requires a current context.
#pragma once

#include <epoxy/gl.h>

#include <string>

namespace platform {

// The linked program, or 0 with the compiler's or linker's text in `error`.
GLuint BuildProgram(const std::string& vertexSource, const std::string& fragmentSource,
                    std::string& error);

}  // namespace platform
