// The forms of the member types data files hold: each writes the text the reader takes back, stores
// what the reader decoded, and names the editor's field; every other type has none.
#include "meta/value_form.h"

#include <gtest/gtest.h>

#include <new>
#include <sstream>
#include <string>

#include "core/vector.h"
#include "levels/data_writer.h"
#include "meta/meta_type.h"

namespace {

struct FormCase {
    const char* type;
    const MetaType& meta;
    ValueKind kind;
    platform::FieldType field;
    const char* fieldDefinition;
    DataValue value;
    const char* text;  // in the writers' fixed notation
};

TEST(ValueForm, EachHeldTypeWritesStoresAndNamesItsField) {
    const FormCase cases[] = {
        {"int", MetaTypeOf<int>(), ValueKind::Whole, platform::FieldType::Int, "", -12, "-12"},
        {"float", MetaTypeOf<float>(), ValueKind::Real, platform::FieldType::Float, "step=0.01",
         1.5f, "1.500000000"},
        {"bool", MetaTypeOf<bool>(), ValueKind::Truth, platform::FieldType::Bool, "", true, "true"},
        {"std::string", MetaTypeOf<std::string>(), ValueKind::Text, platform::FieldType::Text, "",
         std::string("two words"), "\"two\\ words\""},
        {"Vector2D", MetaTypeOf<Vector2D>(), ValueKind::Vector, platform::FieldType::Struct, "",
         Vector2D{3.0f, -4.25f}, "3.000000000 -4.250000000"},
    };
    for (const FormCase& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(c.meta.Name(), c.type);
        const ValueForm* form = c.meta.Form();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->kind, c.kind);
        EXPECT_EQ(static_cast<ValueKind>(c.value.index()), c.kind) << "kinds follow DataValue";
        EXPECT_EQ(form->field, c.field);
        EXPECT_STREQ(form->fieldDefinition, c.fieldDefinition);

        // Stored into a fresh value of the type, then written: the text the reader would take.
        auto* at = ::operator new(c.meta.Size());
        c.meta.Operations()->construct(at);
        form->store(c.value, at);
        std::ostringstream out;
        PrepareStream(out);
        form->write(out, at);
        c.meta.Operations()->destroy(at);
        ::operator delete(at);
        EXPECT_EQ(out.str(), c.text);
    }
}

TEST(ValueForm, TypesDataFilesDoNotHoldHaveNone) {
    EXPECT_EQ(MetaTypeOf<double>().Form(), nullptr);
    EXPECT_EQ(MetaTypeOf<char>().Form(), nullptr);
    EXPECT_EQ(MetaTypeOf<Vector3D>().Form(), nullptr);
}

}  // namespace
