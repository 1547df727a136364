#include "platform/gl/gl_program.h"

#include <vector>

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

}  // namespace

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
