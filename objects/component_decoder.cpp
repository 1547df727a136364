// Component::CreateFromTokens: a new component of the receiver's class, its members set from the
// member-name / value tokens of one data-file line.
//
// For each registered member, in registration order, the first token anywhere on the line that
// equals the member's name is taken as its entry and the token after it as its value (so a name
// written twice takes the first value). The value's kind is decided by its text, in this order:
// a leading double quote makes a text; a "Vector2D" member takes two reals; "true"/"false" a truth
// value; no "." a whole number; otherwise a real. The kind a member takes is its type's form
// (meta/value_form.h), which also stores the value. A kind that does not match is refused rather
// than converted: the bytes of a whole number stored into a real member would be a denormal, and
// a value stored into a member with no text form could overwrite a pointer.
#include <optional>
#include <string>
#include <vector>

#include "core/vector.h"
#include "meta/data_numbers.h"
#include "meta/meta_type.h"
#include "meta/value_form.h"
#include "objects/component.h"
#include "objects/graveyard.h"

namespace {

// A member whose type has no form takes no value at all.
using Kind = std::optional<ValueKind>;

const char* KindName(Kind kind) {
    if (!kind) {
        return "nothing (no text form)";
    }
    switch (*kind) {
        case ValueKind::Text:
            return "a text";
        case ValueKind::Vector:
            return "two real numbers";
        case ValueKind::Truth:
            return "true or false";
        case ValueKind::Whole:
            return "a whole number";
        case ValueKind::Real:
            return "a real number";
    }
    return "";
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
    const ValueForm* form = member.Type().Form();
    const Kind expected = form ? Kind(form->kind) : std::nullopt;
    if (nameIndex + 1 >= tokens.size()) {
        return prefix + "no value after the member name";
    }
    const std::string& value = tokens[nameIndex + 1];
    auto mismatch = [&](Kind found) {
        return prefix + "value " + Shown(value) + " is " + KindName(found) +
               " but the member takes " + KindName(expected);
    };

    if (!value.empty() && value.front() == '"') {
        if (expected != ValueKind::Text) {
            return mismatch(ValueKind::Text);
        }
        form->store(Unquote(value), at);
        return {};
    }
    if (expected == ValueKind::Vector) {
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
        form->store(v, at);
        return {};
    }
    if (value == "true" || value == "false") {
        if (expected != ValueKind::Truth) {
            return mismatch(ValueKind::Truth);
        }
        form->store(value == "true", at);
        return {};
    }
    // A number: a text that does not parse is said first, then a kind the member does not take.
    auto number = [&](auto parsed, ValueKind found, auto parse) -> std::string {
        if (NumberResult r = parse(value, parsed); !r.ok) {
            return prefix + r.error + " (" + Shown(value) + ")";
        }
        if (expected != found) {
            return mismatch(found);
        }
        form->store(parsed, at);
        return {};
    };
    // A real member written without a point ("speed 5", "1e39") is still a real number to the
    // designer who typed it.
    if (value.find('.') == std::string::npos && expected != ValueKind::Real) {
        return number(0, ValueKind::Whole, &ParseWhole);
    }
    return number(0.0f, ValueKind::Real, &ParseReal);
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
