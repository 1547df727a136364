#include "meta/meta_value.h"

#include <ostream>

#include "core/check.h"

namespace {

int& IndentLevel() {
    static int level = 0;
    return level;
}

void WriteIndent(std::ostream& out) {
    for (int i = 0; i < IndentLevel(); ++i) {
        out << "  ";
    }
}

}  // namespace

std::optional<MetaValue> MetaValue::CopyOf(const MetaType& type, const void* source,
                                           std::string name) {
    const MetaOperations* ops = type.Operations();
    if (!VORL_CHECK(ops, "an owned MetaValue needs a type that can be copied")) {
        return std::nullopt;
    }
    void* storage = ::operator new(type.Size() ? type.Size() : 1);
    ops->construct(storage);
    ops->copy(storage, source);
    MetaValue value(type, storage, std::move(name));
    value.owned_ = true;
    return value;
}

MetaValue::MetaValue(MetaValue&& other) noexcept
    : type_(other.type_), data_(other.data_), name_(std::move(other.name_)), owned_(other.owned_) {
    other.owned_ = false;
}

MetaValue::~MetaValue() {
    if (owned_) {
        type_->Operations()->destroy(data_);
        ::operator delete(data_);
    }
}

void Dump(std::ostream& out, const MetaValue& value) {
    if (DumpFunction dump = value.Type().GetDumpFunction()) {
        dump(out, value);
        return;
    }
    WriteIndent(out);
    out << value.Type().Name() << " " << value.Name() << '\n';
    WriteIndent(out);
    out << "{" << '\n';
    ++IndentLevel();
    for (const MetaMember& member : value.Type().Members()) {
        Dump(out, value.Member(member));
    }
    if (DumpFunction nested = value.Type().GetNestedDump()) {
        nested(out, value);
    }
    --IndentLevel();
    WriteIndent(out);
    out << "}" << '\n';
}

// The eight primitive dumps: indentation, type name, value name, the value as a stream writes it.
template <class T>
void DumpPrimitive(std::ostream& out, const MetaValue& value) {
    WriteIndent(out);
    out << value.Type().Name() << " " << value.Name() << " " << value.As<T>() << '\n';
}

template void DumpPrimitive<int>(std::ostream&, const MetaValue&);
template void DumpPrimitive<int*>(std::ostream&, const MetaValue&);
template void DumpPrimitive<char>(std::ostream&, const MetaValue&);
template void DumpPrimitive<char*>(std::ostream&, const MetaValue&);
template void DumpPrimitive<double>(std::ostream&, const MetaValue&);
template void DumpPrimitive<float>(std::ostream&, const MetaValue&);
template void DumpPrimitive<bool>(std::ostream&, const MetaValue&);
template void DumpPrimitive<std::string>(std::ostream&, const MetaValue&);
