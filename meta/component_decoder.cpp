// Component::CreateFromTokens: a new component of the receiver's class, its members set from the
// member-name / value tokens of one data-file line.
//
// For each registered member, in registration order, the first token anywhere on the line that
// equals the member's name is taken as its entry and the token after it as its value (so a name
// written twice takes the first value). The value's kind is decided by its text, in this order:
// a leading double quote makes a text; a "Vector2D" member takes two reals; "true"/"false" a truth
// value; no "." a whole number; otherwise a real. A kind that does not match the member's type is
// refused rather than converted: the bytes of a whole number stored into a real member would be
// a denormal, and a value stored into a member with no text form could overwrite a pointer.
#include <string>
#include <vector>

#include "core/vector.h"
#include "meta/data_numbers.h"
#include "meta/meta_type.h"
#include "objects/component.h"
#include "objects/graveyard.h"

namespace {

enum class Kind { Text, Vector, Truth, Whole, Real, None };

Kind KindOfType(const MetaType& type) {
    const std::string& name = type.Name();
    if (name == "std::string") {
        return Kind::Text;
    }
    if (name == "Vector2D") {
        return Kind::Vector;
    }
    if (name == "bool") {
        return Kind::Truth;
    }
    if (name == "int") {
        return Kind::Whole;
    }
    if (name == "float") {
        return Kind::Real;
    }
    return Kind::None;
}

const char* KindName(Kind kind) {
    switch (kind) {
        case Kind::Text:
            return "a text";
        case Kind::Vector:
            return "two real numbers";
        case Kind::Truth:
            return "true or false";
        case Kind::Whole:
            return "a whole number";
        case Kind::Real:
            return "a real number";
        case Kind::None:
            break;
    }
    return "nothing (no text form)";
}

// Quotes a value for a message, cut short so one bad line cannot flood the console.
std::string Shown(const std::string& value) {
    constexpr std::size_t kLimit = 40;
    return "\"" + (value.size() > kLimit ? value.substr(0, kLimit) + "..." : value) + "\"";
}

std::string Unquote(const std::string& token) {
    std::string text;
    for (char c : token) {
        if (c != '"' && c != '\\') {
            text += c;
        }
    }
    return text;
}

// Decodes one member's entry into `at`; returns an empty string on success, else the problem.
std::string DecodeMember(const MetaMember& member, char* at, const std::vector<std::string>& tokens,
                         std::size_t nameIndex) {
    const std::string prefix = "member \"" + member.Name() + "\": ";
    const Kind expected = KindOfType(member.Type());
    if (nameIndex + 1 >= tokens.size()) {
        return prefix + "no value after the member name";
    }
    const std::string& value = tokens[nameIndex + 1];
    auto mismatch = [&](Kind found) {
        return prefix + "value " + Shown(value) + " is " + KindName(found) +
               " but the member takes " + KindName(expected);
    };

    if (!value.empty() && value.front() == '"') {
        if (expected != Kind::Text) {
            return mismatch(Kind::Text);
        }
        *reinterpret_cast<std::string*>(at) = Unquote(value);
        return {};
    }
    if (expected == Kind::Vector) {
        if (nameIndex + 2 >= tokens.size()) {
            return prefix + "needs two numbers (x y)";
        }
        Vector2D v;
        for (int i = 0; i < 2; ++i) {
            const std::string& part = tokens[nameIndex + 1 + i];
            if (NumberResult r = ParseReal(part, i == 0 ? v.x : v.y); !r.ok) {
                return prefix + r.error + " (" + Shown(part) + ")";
            }
        }
        *reinterpret_cast<Vector2D*>(at) = v;
        return {};
    }
    if (value == "true" || value == "false") {
        if (expected != Kind::Truth) {
            return mismatch(Kind::Truth);
        }
        *reinterpret_cast<bool*>(at) = value == "true";
        return {};
    }
    // A real member written without a point ("speed 5", "1e39") is still a real number to the
    // designer who typed it.
    if (value.find('.') == std::string::npos && expected != Kind::Real) {
        int whole = 0;
        if (NumberResult r = ParseWhole(value, whole); !r.ok) {
            return prefix + r.error + " (" + Shown(value) + ")";
        }
        if (expected != Kind::Whole) {
            return mismatch(Kind::Whole);
        }
        *reinterpret_cast<int*>(at) = whole;
        return {};
    }
    float real = 0.0f;
    if (NumberResult r = ParseReal(value, real); !r.ok) {
        return prefix + r.error + " (" + Shown(value) + ")";
    }
    if (expected != Kind::Real) {
        return mismatch(Kind::Real);
    }
    *reinterpret_cast<float*>(at) = real;
    return {};
}

}  // namespace

Component* Component::CreateFromTokens(const std::vector<std::string>& tokens,
                                       std::vector<std::string>* diagnostics) const {
    Component* component = CreateDefault();
    char* base = static_cast<char*>(dynamic_cast<void*>(component));
    for (const MetaMember& member : GetMetaType().Members()) {
        std::size_t index = 0;
        while (index < tokens.size() && tokens[index] != member.Name()) {
            ++index;
        }
        if (index == tokens.size()) {
            continue;
        }
        std::string problem = DecodeMember(member, base + member.Offset(), tokens, index);
        if (!problem.empty()) {
            if (diagnostics) {
                diagnostics->push_back(std::move(problem));
            }
            // The new component has already announced itself to its system, so a queued message
            // points at it: it waits in the graveyard rather than being deleted here.
            Graveyard::Bury(component);
            return nullptr;
        }
    }
    return component;
}
