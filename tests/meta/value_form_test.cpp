// The forms of the member types data files hold: each has the kind the reader decodes and names
// the editor's field; every other type has none.
#include "meta/value_form.h"

#include <gtest/gtest.h>

#include <string>

#include "core/vector.h"
#include "meta/meta_type.h"

namespace {

struct FormCase {
    const char* type;
    const MetaType& meta;
    ValueKind kind;
    platform::FieldType field;
    const char* fieldDefinition;
    DataValue value;
};

// What each form writes is checked on the written lines (data_writer_test), what it stores on the
// decoded ones (component_decoder_test).
TEST(ValueForm, EachHeldTypeHasItsKindAndNamesItsField) {
    const FormCase cases[] = {
        {"int", MetaTypeOf<int>(), ValueKind::Whole, platform::FieldType::Int, "", -12},
        {"float", MetaTypeOf<float>(), ValueKind::Real, platform::FieldType::Float, "step=0.01",
         1.5f},
        {"bool", MetaTypeOf<bool>(), ValueKind::Truth, platform::FieldType::Bool, "", true},
        {"std::string", MetaTypeOf<std::string>(), ValueKind::Text, platform::FieldType::Text, "",
         std::string("two words")},
        {"Vector2D", MetaTypeOf<Vector2D>(), ValueKind::Vector, platform::FieldType::Struct, "",
         Vector2D{3.0f, -4.25f}},
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
    }
}

TEST(ValueForm, TypesDataFilesDoNotHoldHaveNone) {
    EXPECT_EQ(MetaTypeOf<double>().Form(), nullptr);
    EXPECT_EQ(MetaTypeOf<char>().Form(), nullptr);
    EXPECT_EQ(MetaTypeOf<Vector3D>().Form(), nullptr);
}

}  // namespace
