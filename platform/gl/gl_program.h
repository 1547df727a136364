// Compiling and linking GLSL programs for the OpenGL device. Requires a current context.
#pragma once

#include <epoxy/gl.h>

#include <string>
#include <string_view>

namespace platform {

// The linked program, or 0 with the compiler's or linker's text in `error`.
GLuint BuildProgram(const std::string& vertexSource, const std::string& fragmentSource,
                    std::string& error);

// Reports a compiler's or linker's text through the platform's diagnostics, a line of it at a
// time: at the source line the compiler names (sources that start with a "#line" directive for
// their file get that file's lines), else at `line`.
void ReportShaderLog(std::string_view file, int line, const std::string& log);

}  // namespace platform
