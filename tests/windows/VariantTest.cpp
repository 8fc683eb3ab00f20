#include <windows.h>

#include <gtest/gtest.h>
#include <oleauto.h>

#include "FakeObjects.h"
#include "com/Variant.h"

namespace kalvex::com {
namespace {

// An array with bounds first .. first+count-1 in a variant that owns it.
Variant arrayVariant(VARTYPE type, LONG first, const std::vector<Variant>& elements) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(elements.size()), first};
    Variant result;
    result.put()->vt = VT_ARRAY | type;
    result.get().parray = SafeArrayCreate(type, 1, &bound);
    for (LONG i = 0; i < static_cast<LONG>(elements.size()); ++i) {
        LONG index = first + i;
        VARIANT element = elements[std::size_t(i)].get();
        void* data = type == VT_VARIANT    ? static_cast<void*>(&element)
                     : type == VT_DISPATCH ? static_cast<void*>(element.pdispVal)
                                           : static_cast<void*>(&element.dblVal);
        SafeArrayPutElement(result.get().parray, &index, data);
    }
    return result;
}

Variant number(double value) {
    Variant result;
    result.put()->vt = VT_R8;
    result.get().dblVal = value;
    return result;
}

Variant object(IDispatch* adopted) {
    Variant result;
    result.put()->vt = VT_DISPATCH;
    result.get().pdispVal = adopted;
    return result;
}

TEST(ObjectsVariant, PointsAreArraysOfThreeNumbersWhateverTheirBoundsOrElementType) {
    EXPECT_EQ(pointOf(variantOf(cad::CadPoint(1, 2, 3)).get()), cad::CadPoint(1, 2, 3));
    EXPECT_EQ(pointOf(arrayVariant(VT_R8, 1, {number(4), number(5), number(6)}).get()),
              cad::CadPoint(4, 5, 6));
    EXPECT_EQ(pointOf(arrayVariant(VT_VARIANT, 0, {number(7), variantOf(8), number(9)}).get()),
              cad::CadPoint(7, 8, 9));
    Variant array = variantOf(cad::CadPoint(1, 1, 0));
    VARIANT reference;
    reference.vt = VT_BYREF | VT_VARIANT;
    reference.pvarVal = &array.get();
    EXPECT_EQ(pointOf(reference), cad::CadPoint(1, 1, 0));
}

TEST(ObjectsVariant, AnythingElseIsAPointThatIsNoArray) {
    EXPECT_FALSE(pointOf(Variant().get()).isArray());
    EXPECT_FALSE(pointOf(number(3).get()).isArray());
    EXPECT_FALSE(pointOf(arrayVariant(VT_R8, 0, {number(1), number(2)}).get()).isArray());
    EXPECT_EQ(variantOf(cad::CadPoint()).get().vt, VT_EMPTY);
}

TEST(ObjectsVariant, ScalarsAndHandles) {
    EXPECT_EQ(stringOf(variantOf("配管－０２").get()), "配管－０２");
    EXPECT_EQ(stringOf(variantOf(42).get()), "42");
    Variant narrow = variantOf(-2);
    EXPECT_EQ(windowHandleOf(narrow.get()), static_cast<WindowHandle>(std::intptr_t(-2)))
        << "a 32-bit handle is sign-extended, as Windows extends handles";
    EXPECT_TRUE(boolOf(variantOf(1).get()));
    EXPECT_THROW(integerOf(variantOf("abc").get()), cad::CadError);
}

TEST(ObjectsVariant, ObjectArraysOfEitherKindAndNoArrayAtAll) {
    fake::Cad cad;
    IDispatch* first = fake::newApplication(cad);
    IDispatch* second = fake::newApplication(cad);
    {
        const auto ofVariants =
            objectsOf(arrayVariant(VT_VARIANT, 0, {object(first), object(second)}).get());
        ASSERT_EQ(ofVariants.size(), 2u);
        EXPECT_EQ(ofVariants[1].get(), second);
        first->AddRef();
        second->AddRef();
        const auto ofObjects =
            objectsOf(arrayVariant(VT_DISPATCH, 0, {object(first), object(second)}).get());
        ASSERT_EQ(ofObjects.size(), 2u);
        EXPECT_EQ(ofObjects[0].get(), first);
        EXPECT_THROW(objectsOf(number(1).get()), cad::CadError);
        EXPECT_THROW(objectOf(Variant().get()), cad::CadError);
    }
    EXPECT_EQ(cad.log.liveObjects, 0);
}

} // namespace
} // namespace kalvex::com
