#include "platform/gl/gl_program.h"

#include <sstream>
#include <vector>

#include "platform/diagnostics.h"

namespace platform {
namespace {

std::string ShaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    return log.data();
}

GLuint Compile(GLenum kind, const std::string& source, std::string& error) {
    GLuint shader = glCreateShader(kind);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        error += ShaderLog(shader);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// The source line a compiler message names: "0:12(5): ..." (Mesa) or "ERROR: 0:12: ..." (most
// others); 0 when it names none.
int MessageLine(const std::string& message) {
    std::size_t at = message.rfind("ERROR: ", 0) == 0 ? 7 : 0;
    const std::size_t colon = message.find(':', at);
    if (colon == std::string::npos || colon == at) {
        return 0;
    }
    int line = 0;
    for (at = colon + 1; at < message.size() && message[at] >= '0' && message[at] <= '9'; ++at) {
        line = line * 10 + (message[at] - '0');
        if (line > 1'000'000) {
            return 0;
        }
    }
    const bool closed = at < message.size() && (message[at] == '(' || message[at] == ':');
    return closed ? line : 0;
}

}  // namespace

void ReportShaderLog(std::string_view file, int line, const std::string& log) {
    std::istringstream lines(log);
    bool reported = false;
    for (std::string message; std::getline(lines, message);) {
        if (message.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        const int named = MessageLine(message);
        ReportBadData(file, named > 0 ? named : line, message);
        reported = true;
    }
    if (!reported) {
        ReportBadData(file, line, "the shader does not build, and the driver says nothing of why");
    }
}

GLuint BuildProgram(const std::string& vertexSource, const std::string& fragmentSource,
                    std::string& error) {
    GLuint vertex = Compile(GL_VERTEX_SHADER, vertexSource, error);
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, fragmentSource, error);
    if (!vertex || !fragment) {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        GLint length = 0;
        glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
        std::vector<char> log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
        glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), nullptr, log.data());
        error += log.data();
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

}  // namespace platform
